// libFuzzer target: any bytes through the reader, and whatever it accepts through both aids.
#include "import/RockSimReader.h"
#include "output/Aids.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

using namespace vanecraft;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const LoadResult r = ReadRockSimDevice(buffer, QStringLiteral("fuzz.rkt"));
    if (!r.ok)
        return 0;
    AppState state;
    state.adoptDesign(r.design);
    state.PaperThickness = 0.381f;
    for (int slot = 1; slot <= std::max(1, r.design.finSetsHeld()); ++slot) {
        state.selectFinSet(slot);
        RecordingSurface surface;
        const Frame frame = ComputeFrame(state, PageCentreX, PageCentreY);
        DrawFinAlignmentGuide(surface, frame, state);
        DrawBodyTubeWrapper(surface, frame, 3, state);
        // A drawing is bounded whatever the file says.
        if (surface.ops().size() > 20000)
            __builtin_trap();
    }
    return 0;
}
