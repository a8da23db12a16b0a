// Loads a generated 50 MB design (four fin sets, then megabytes of simulation data) and prints
// the time beside that of one plain line-by-line read of the same file.
#include "import/RockSimReader.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

using namespace vanecraft;

int main() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.rkt"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        f.write(
            "<RockSimDocument>\r\n<DesignInformation>\r\n<RocketDesign>\r\n<Name>Big</Name>\r\n"
            "<Stage3Parts>\r\n<BodyTube>\r\n<OD>41.6</OD>\r\n<ID>40.5</ID>\r\n<Len>300</Len>\r\n"
            "<AttachedParts>\r\n");
        for (int i = 1; i <= 4; ++i)
            f.write("<FinSet>\r\n<Name>Fins " + QByteArray::number(i) +
                    "</Name>\r\n<FinCount>4</FinCount>\r\n<RootChord>75.5</RootChord>\r\n"
                    "<SemiSpan>50</SemiSpan>\r\n<Thickness>3.2</Thickness>\r\n</FinSet>\r\n");
        f.write("</AttachedParts>\r\n</BodyTube>\r\n</Stage3Parts>\r\n</RocketDesign>\r\n"
                "</DesignInformation>\r\n<SimulationResultsList>\r\n<SimulationResults>\r\n");
        const QByteArray sample = "<TimeData>0.0125,12.5,3.25,0.001,1.5,2.5,3.5</TimeData>\r\n";
        while (f.size() < 50 * 1024 * 1024)
            f.write(sample);
        f.write("</SimulationResults>\r\n</SimulationResultsList>\r\n</RockSimDocument>\r\n");
    }
    QElapsedTimer t;
    t.start();
    qint64 lines = 0;
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return 1;
        while (!f.readLine().isNull())
            ++lines;
    }
    const qint64 plain = t.elapsed();
    t.restart();
    const LoadResult r = ReadRockSimFile(path);
    const qint64 load = t.elapsed();
    if (!r.ok || r.design.finSetsOffered() != 4) {
        std::fprintf(stderr, "load failed: %s\n", qPrintable(r.message));
        return 1;
    }
    std::printf("50 MB design, %lld lines\n", static_cast<long long>(lines));
    std::printf("plain line-by-line read: %lld ms\n", static_cast<long long>(plain));
    std::printf("Vanecraft load:          %lld ms\n", static_cast<long long>(load));
    return 0;
}
