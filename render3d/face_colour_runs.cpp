#include "render3d/face_colour_runs.h"

#include "render3d/record_blocks.h"

void FillColourRecords(uint8_t* records, uint32_t colour) {
    for (uint32_t i = 0; i < kFaceNumbersPerBlock; ++i) {
        for (uint32_t k = 0; k < 4; ++k) records[4 * i + k] = uint8_t(colour >> (8 * k));
    }
}

void AddColourRuns(V3DModel& model, ModelChunk& chunk, const uint8_t* faceNumbers, uint32_t n,
                   uint32_t firstFace, const uint8_t* records) {
    for (uint32_t i = 0; i < n;) {
        const uint32_t first = LeU16(faceNumbers + 2 * i);
        uint32_t run = 1;
        while (i + run < n && LeU16(faceNumbers + 2 * (i + run)) == first + run) ++run;
        chunk.nextColour = firstFace + first;
        chunk.data = records;
        chunk.dataSize = run * 4;
        model.AddColours(chunk);
        i += run;
    }
}
