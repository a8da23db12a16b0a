#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace vanecraft {

// A sheet of paper, portrait, in millimetres.
struct Paper {
    QString key;     // what the command line and the settings store call it: "a4", "610x914"
    QString caption; // what the user reads: "A4", "US Letter", "610 × 914 mm"
    double widthMm = 0;
    double heightMm = 0;
    bool inches = false; // a US size, whose scale check is stated in inches

    bool operator==(const Paper&) const = default;
};

// Smaller than this is no paper a template fits on; larger than this is no paper at all.
constexpr double SmallestPaperMm = 50;
constexpr double LargestPaperMm = 5080; // 200 in, the largest page PDF readers open

// A4, A3, A5, US Letter, US Legal, Tabloid, in that order.
const std::vector<Paper>& StandardPapers();
Paper A4Paper();

// A paper of any size, its key and caption made from the size ("610x914", "610 × 914 mm"),
// in hundredths of a millimetre at most. No range check: a canvas may be any size.
Paper CustomPaper(double widthMm, double heightMm);

// A standard key ("a4", "letter", any case, blanks around ignored) or a custom "WIDTHxHEIGHT" in
// millimetres ("610x914", "210.5x297"). Nothing for an unknown name, or a size outside
// SmallestPaperMm .. LargestPaperMm on either side.
std::optional<Paper> PaperFromKey(const QString& text);

// Where the system's default paper is told, read in this order: the PAPERSIZE variable, the
// papersize file, the locale's country (Letter in the countries that use it). A4 when none says.
struct PaperSources {
    QString papersizeVariable; // $PAPERSIZE
    QString papersizeFile;     // path of /etc/papersize
    QString localeName;        // e.g. "en_US.UTF-8", from LC_ALL, LC_PAPER or LANG
};
PaperSources SystemPaperSources();
Paper DefaultPaper(const PaperSources& sources);
inline Paper SystemDefaultPaper() {
    return DefaultPaper(SystemPaperSources());
}

} // namespace vanecraft
