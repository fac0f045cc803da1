// Colouring the faces a material group lists: the 3D Studio and MilkShape 3D groups name their
// faces by number, and every run of consecutive numbers becomes one per-face block of colours.
#pragma once

#include <cstdint>

#include "render3d/model.h"

// Face numbers (little-endian u16) a group lists per block of the file.
constexpr uint32_t kFaceNumbersPerBlock = 256;

// Fills a block of kFaceNumbersPerBlock colour records with one colour value (red in the low
// byte).
void FillColourRecords(uint8_t* records, uint32_t colour);

// Colours the faces firstFace + each of the n face numbers with the records (as many as
// there are numbers): one AddColours call per run of consecutive numbers. Sets the chunk's
// colour counter and data; it must be in per-face mode.
void AddColourRuns(V3DModel& model, ModelChunk& chunk, const uint8_t* faceNumbers, uint32_t n,
                   uint32_t firstFace, const uint8_t* records);
