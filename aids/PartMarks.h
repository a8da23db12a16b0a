#pragma once

// The other parts on the selected fin set's tube (its other fin sets, launch lugs and rail
// buttons), placed by their angle to the selected set's first fin, and drawn on either aid.
#include "Figure.h"
#include "model/Design.h"

#include <QStringList>
#include <vector>

namespace vanecraft {

// One mark on an aid.
struct PartMark {
    enum class Kind { Fin, LaunchLug, RailButton };
    Kind kind = Kind::Fin;
    // From the selected set's first fin, clockwise as the tube is seen from its nose end: 0 up
    // to, not including, 360.
    double degrees = 0;
    QString label;          // "lug", "rail", or the fin set's name
    double lugDiameter = 0; // a lug's outer diameter in mm; 0 when the file gives none usable
    bool operator==(const PartMark&) const = default;
};

// The marks for fin set `n` of the design, and what the user must know of parts left unmarked
// (or of the set's cant).
struct PartMarks {
    std::vector<PartMark> marks;
    QStringList notes;
};

// Angles beyond a billion degrees are no angle a design means, and lose the hundredth of a
// millimetre in turning.
constexpr double MostAngleDegrees = 1e9;
// Marks on one figure: far more than any tube carries, few enough to letter.
constexpr int MostPartMarks = 1000;

PartMarks PartMarksOf(const Design& design, int n);
// What the user must know of fin set `n`'s cant, which the aids leave out; empty for none.
QString CantNote(const FinSet& f, int n);
// At most a few lines of notes, the rest counted in the last.
QStringList CappedNotes(QStringList notes);

// A name as a label or a note shows it: control characters escaped, and cut short (never within
// a character or an escape), so that no name can widen a figure past the paper.
QString ShortName(const QString& name);
// "fin set 2", or "fin set 2 ("Canards")", for the user's messages.
QString FinSetWords(int n, const QString& name);

// The line each aid carries when it marks other parts, so the builder knows which way round.
extern const char* const GuideConvention;
extern const char* const WrapperConvention;

// What a guide or wrapper of the given sizes looks like, for the marks to be placed by it.
struct GuideShape {
    double radius = 0;          // the tube's outer radius
    double firstFinDegrees = 0; // the first fin's turn on the paper, counter-clockwise from up
};
struct WrapperShape {
    double left = 0, right = 0;  // the strip's edges along the tube; `left` goes to the nose
    double top = 0, bottom = 0;  // the strip's ends
    double firstMark = 0;        // where the first fin's mark runs across
    int fins = 1;                // the fin set's marks, evenly along the strip
    double finHalfThickness = 0; // each mark's lines this far either side of its centre
};

// Every mark outside the tube's outline, with a dashed line from the centre and its label; and a
// line saying from which end the tube is seen.
void MarkGuide(Figure& figure, const GuideShape& shape, const std::vector<PartMark>& marks);
// A line across the strip for every mark, wrapped into the strip, with its label; and the edge
// that goes to the nose named.
void MarkWrapper(Figure& figure, const WrapperShape& shape, const std::vector<PartMark>& marks);
// The notes, a line each, centred under the figure.
void AddNotes(Figure& figure, const QStringList& notes);

} // namespace vanecraft
