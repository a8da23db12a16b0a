#pragma once

#include "Figure.h"
#include "PartMarks.h"
#include "model/Design.h"

#include <QString>
#include <vector>

namespace vanecraft {

extern const char* const GuideToolName;   // "Fins alignment guide"
extern const char* const WrapperToolName; // "Body tube wrapper"
extern const char* const WrongValueMessage;
extern const char* const SelectToolToPrintMessage;
extern const char* const SelectToolToPreviewMessage;

// The values an aid is built from, lengths in millimetres, with where they come from for the
// user's messages.
struct AidValues {
    double outerDiameter = 0;
    double innerDiameter = 0;
    double finCount = 0;
    double finThickness = 0;
    double finSpan = 0;
    double finRoot = 0;
    double paperThickness = 0; // from the settings, not the design
    int finSetNumber = 0;
    QString finSetName;
    QString carrier;             // what the fins sit on when it is no body tube; empty on a tube
    std::vector<PartMark> parts; // the other parts on the tube, to mark
    QStringList notes;           // what the sheet tells of parts not marked, or of the cant
};

AidValues AidValuesOf(const AppState& state);

// A figure, or why it cannot be drawn from its values. The reason is the user's message whole.
struct AidResult {
    Figure figure;
    QString refusal;
    QStringList notes; // what the figure carries beneath it, for the window to tell as well
    bool ok() const { return refusal.isEmpty(); }
};

// Why the values cannot make a template, or an empty text when they can. One check for both
// aids, so neither draws from values the other refuses.
QString CheckDesignValues(const AidValues& v);

// The tube end-on with every fin's outline and dashed centre line.
AidResult DrawFinAlignmentGuide(const AidValues& v);
// The strip wrapped around the tube, one mark per fin, with flap, tab and cross.
AidResult DrawBodyTubeWrapper(const AidValues& v);

// The tools the program offers: the caption in the tool list, the name on the command line.
struct Tool {
    const char* caption;
    const char* commandName;
    AidResult (*build)(const AidValues&);
};
const std::vector<Tool>& Tools();
const Tool* ToolByCaption(const QString& caption); // exact text, case included
const Tool* ToolByCommandName(const QString& name);

} // namespace vanecraft
