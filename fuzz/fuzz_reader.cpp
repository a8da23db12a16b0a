// libFuzzer target: any bytes through the one load path (RockSim and OpenRocket), and whatever it
// accepts through both aids.
#include "aids/Aids.h"
#include "import/DesignFile.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

using namespace vanecraft;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const LoadResult r = ReadDesignDevice(buffer, QStringLiteral("fuzz.rkt"));
    if (!r.ok)
        return 0;
    AppState state;
    state.adoptDesign(r.design);
    state.PaperThickness = 0.381f;
    for (int slot = 1; slot <= std::max(1, r.design.finSetsOffered()); ++slot) {
        state.selectFinSet(slot);
        for (const Tool& tool : Tools()) {
            const AidResult aid = tool.build(AidValuesOf(state));
            // A figure is bounded whatever the file says, and never drawn from refused values.
            if (aid.figure.strokes().size() > 20000 || (!aid.ok() && !aid.figure.isEmpty()))
                __builtin_trap();
        }
    }
    return 0;
}
