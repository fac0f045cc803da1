// jpeg_decoder: the worker of the JPEG loader. It decodes Huffman-coded sequential (baseline
// and extended) and progressive JPEG files (ITU-T T.81) of one component (greyscale) or three
// (YCbCr, luma sampled 1 × 1, 2 × 1, 1 × 2 or 2 × 2 against chroma 1 × 1), and hands the
// picture out one line at a time.
//
// One decoder decodes one block of data: the constructor reads up to the frame header,
// BeginDecoding prepares the scans, DecodeLine delivers the lines. The first error is kept;
// it frees the decoder's blocks, and every call after it returns at once.
//
// A sequential picture whose one scan holds every component is decoded one row of MCUs at a
// time. Progressive pictures, and sequential ones sent in several scans, are decoded scan by
// scan into coefficient buffers first; the lines are then made from the buffers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

#include "imaging/jpeg_colour.h"
#include "imaging/jpeg_huffman.h"
#include "imaging/jpeg_idct.h"
#include "imaging/jpeg_input.h"
#include "imaging/loader_base.h"

class jpeg_decoder : public ClassVLoaderBase {
  public:
    static constexpr uint32_t MAX_DIMENSION = 8192;
    static constexpr uint32_t MAX_COMPONENTS = 4;
    static constexpr uint32_t MAX_ALLOCATIONS = 100;

    // What went wrong first. Outside the decoder only when it happened matters (up to the
    // frame header, in BeginDecoding, while lines are delivered), and whether memory ran out.
    enum class Error : uint32_t {
        None = 0,
        NotJpeg,           // no start-of-image marker where one must be
        Unsupported,       // arithmetic coding, hierarchical or lossless frames
        UnexpectedMarker,  // a marker that has no place where it stands
        BadSegment,        // a marker segment whose length or fields are inconsistent
        BadFrame,          // frame header out of limits, or a layout that is not decoded
        BadTable,          // a Huffman or quantisation table that cannot be used
        BadScan,           // a scan header that does not fit the frame or its tables
        BadData,           // entropy-coded data that no table can decode
        BadRestart,        // a restart marker missing or out of sequence
        TooLarge,          // more blocks than the data can describe
        OutOfMemory,
    };

    jpeg_decoder(const uint8_t* data, uint32_t size);
    ~jpeg_decoder() override;
    jpeg_decoder(const jpeg_decoder&) = delete;
    jpeg_decoder& operator=(const jpeg_decoder&) = delete;

    // The decoder and every block it takes come from the framework's allocator; creating
    // one gives null when there is no memory.
    static void* operator new(size_t size, const std::nothrow_t&) noexcept;
    static void operator delete(void* block) noexcept;

    Error ErrorCode() const { return m_error; }
    uint32_t Width() const { return m_width; }
    uint32_t Height() const { return m_height; }
    // One component (lines of one byte per pixel) or three (four bytes: R, G, B, 255).
    bool Greyscale() const { return m_componentcount == 1; }

    // Checks the layout and prepares the first scan (sequential) or decodes every scan
    // (progressive). 0 on success; a second call does nothing.
    uint32_t BeginDecoding();
    // 0 and the next line while lines remain; non-zero when the picture is complete or an
    // error was recorded.
    uint32_t DecodeLine(const uint8_t** line, uint32_t* length);

  private:
    struct Component {
        uint8_t id = 0;
        uint8_t h = 1, v = 1;  // sampling factors
        uint8_t quantindex = 0;
        // Blocks of the component itself (non-interleaved scans cover these) and of the
        // whole MCUs that hold it (interleaved scans, the coefficient buffer, the planes).
        uint32_t blockswide = 0, blockshigh = 0;
        uint32_t paddedwide = 0, paddedhigh = 0;
        int16_t* coefficients = nullptr;  // paddedwide × paddedhigh blocks of 64, natural order
        bool quantlatched = false;        // quant holds its table since its first scan
        uint16_t quant[64] = {};
        uint8_t* plane = nullptr;  // one MCU row of samples, paddedwide × 8 wide, v × 8 high
        uint32_t dctable = 0, actable = 0;  // table numbers the current scan gives
        int32_t dcpredictor = 0;
    };
    struct Scan {
        uint32_t count = 0;
        uint32_t components[MAX_COMPONENTS] = {};  // indices into m_components
        uint32_t spectralstart = 0, spectralend = 63;
        uint32_t approxhigh = 0, approxlow = 0;
    };
    // What a marker segment told the reader of markers.
    enum class Next { Frame, Scan, End, Stop };

    void Fail(Error error);
    void* Allocate(size_t size);
    void ReleaseAll();

    // Markers and their segments.
    bool FindStart(const uint8_t* data, uint32_t size);
    Next ReadMarkers();
    bool ReadFrame(uint8_t marker);
    bool ReadHuffmanTables();
    bool ReadQuantTables();
    bool ReadRestartInterval();
    bool ReadScan();
    bool SkipSegment();

    // Layout and buffers.
    bool CheckLayout();
    bool PrepareScan();
    bool AllocateOutput();
    bool AllocateCoefficients();

    // Entropy-coded data (jpeg_scans.cpp). Bits is the bit buffer, in a variable of the
    // caller while a run of blocks is decoded.
    using Bits = VJpegInput::Bits;
    bool HandleRestart(Bits& bits);
    template <class Store>
    bool DecodeSequentialBlock(Component& c, Bits& bits, Store store);
    bool DecodeMcuRow();
    bool DecodeBufferedBlock(Component& c, int16_t* block, Bits& bits);
    bool DecodeDcFirst(Component& c, int16_t* block, Bits& bits);
    bool DecodeDcRefine(int16_t* block, Bits& bits);
    bool DecodeAcFirst(Component& c, int16_t* block, Bits& bits);
    bool DecodeAcRefine(Component& c, int16_t* block, Bits& bits);
    void DecodeBufferedScan();
    bool DecodeAllScans();
    int32_t DecodeSymbol(const VJpegHuffmanTable& table, Bits& bits);
    int32_t ReceiveExtend(uint32_t size, Bits& bits);

    // Output.
    void InverseTransformRow(uint32_t mcurow);
    bool ProduceMcuRow(uint32_t mcurow);

    Error m_error = Error::None;
    bool m_started = false;
    bool m_progressive = false;
    bool m_buffered = false;  // every scan is decoded into coefficient buffers first
    bool m_frameseen = false;
    uint32_t m_width = 0, m_height = 0;
    uint32_t m_componentcount = 0;
    Component m_components[MAX_COMPONENTS];
    uint32_t m_hmax = 1, m_vmax = 1;
    uint32_t m_mcuswide = 0, m_mcushigh = 0;  // MCUs of an interleaved scan

    uint16_t m_quant[4][64] = {};  // natural order
    bool m_quantdefined[4] = {};
    VJpegHuffmanTable m_huffman[8];  // DC 0-3, AC 0-3

    uint32_t m_restartinterval = 0;
    uint32_t m_restartsleft = 0;
    uint32_t m_nextrestart = 0;
    Scan m_scan;
    uint32_t m_scancount = 0;
    uint32_t m_eobrun = 0;
    VJpegInput::Bits m_bits;   // between two rows of MCUs of a sequential scan
    bool m_dataended = false;  // a scan ran past its data: the picture is what came so far

    VJpegInput m_input;
    VJpegColourTables m_colour;
    JpegIdctFunction m_idct = JpegIdctForThisProcessor();

    // Output state.
    uint32_t m_nextline = 0;
    uint32_t m_mcurowready = UINT32_MAX;  // the MCU row now in the planes
    uint32_t m_chromarowready = UINT32_MAX;
    uint8_t* m_line = nullptr;
    int16_t* m_terms = nullptr;  // red, green and blue terms of one chroma row
    uint32_t m_termstride = 0;

    void* m_allocations[MAX_ALLOCATIONS] = {};
    uint32_t m_allocationcount = 0;
};
