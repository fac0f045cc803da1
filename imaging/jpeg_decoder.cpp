#include "imaging/jpeg_decoder.h"

#include <cstring>

#include "fileio/memory.h"
#include "imaging/jpeg_markers.h"

namespace {

// The start-of-image marker may follow this many bytes of something else.
constexpr uint32_t MAX_LEADING_BYTES = 511;
// Far more scans than any encoder writes (a progression needs a few per component): every
// scan walks the blocks of its components, and a small file must not make that endless.
constexpr uint32_t MAX_SCANS = 1000;
// Every block of a complete picture takes at least one bit of its data, so a picture of more
// blocks than this cannot come from a file of size bytes; the slack covers the blocks that
// pad the picture to whole MCUs.
uint64_t MostBlocks(uint32_t size) {
    return uint64_t(size) * 16 + 64;
}

uint32_t CeilDiv(uint32_t a, uint32_t b) {
    return (a + b - 1) / b;
}

}  // namespace

void* jpeg_decoder::operator new(size_t size, const std::nothrow_t&) noexcept {
    return MemAlloc(size);
}

void jpeg_decoder::operator delete(void* block) noexcept {
    MemFree(block);
}

jpeg_decoder::jpeg_decoder(const uint8_t* data, uint32_t size) {
    SetSource(data, size);
    SetBigEndian(true);
    m_colour.Build();
    if (!FindStart(data, size)) return;
    m_input.Start(this, SourceSize());
    if (ReadMarkers() != Next::Frame) Fail(Error::UnexpectedMarker);
}

jpeg_decoder::~jpeg_decoder() {
    ReleaseAll();
}

void jpeg_decoder::Fail(Error error) {
    if (m_error != Error::None) return;
    m_error = error;
    ReleaseAll();
}

void* jpeg_decoder::Allocate(size_t size) {
    if (m_allocationcount == MAX_ALLOCATIONS) {
        Fail(Error::OutOfMemory);
        return nullptr;
    }
    void* block = MemAlloc(size);
    if (block == nullptr) {
        Fail(Error::OutOfMemory);
        return nullptr;
    }
    std::memset(block, 0, size);
    m_allocations[m_allocationcount++] = block;
    return block;
}

void jpeg_decoder::ReleaseAll() {
    for (uint32_t i = 0; i < m_allocationcount; ++i) MemFree(m_allocations[i]);
    m_allocationcount = 0;
    for (Component& c : m_components) {
        c.coefficients = nullptr;
        c.plane = nullptr;
    }
    m_line = nullptr;
    m_terms = nullptr;
}

bool jpeg_decoder::FindStart(const uint8_t* data, uint32_t size) {
    if (size >= 2 && data[0] == 0xFF && data[1] == JPEG_SOI) {
        SetPos(2);
        return true;
    }
    // Further in, the marker must be followed by the next one, so that stray bytes that only
    // look like it are not taken.
    for (uint32_t at = 1; at <= MAX_LEADING_BYTES && uint64_t(at) + 2 < size; ++at) {
        if (data[at] == 0xFF && data[at + 1] == JPEG_SOI && data[at + 2] == 0xFF) {
            SetPos(at + 2);
            return true;
        }
    }
    Fail(Error::NotJpeg);
    return false;
}

jpeg_decoder::Next jpeg_decoder::ReadMarkers() {
    while (m_error == Error::None) {
        const uint8_t marker = m_input.NextMarker(UINT32_MAX);
        bool ok = true;
        switch (marker) {
            case JPEG_SOF0:
            case JPEG_SOF1:
            case JPEG_SOF2:
                if (m_frameseen) {
                    Fail(Error::UnexpectedMarker);
                    return Next::Stop;
                }
                return ReadFrame(marker) ? Next::Frame : Next::Stop;
            case JPEG_SOS:
                if (!m_frameseen) {
                    Fail(Error::UnexpectedMarker);
                    return Next::Stop;
                }
                return ReadScan() ? Next::Scan : Next::Stop;
            case JPEG_EOI:
                return Next::End;
            case JPEG_DHT:
                ok = ReadHuffmanTables();
                break;
            case JPEG_DQT:
                ok = ReadQuantTables();
                break;
            case JPEG_DRI:
                ok = ReadRestartInterval();
                break;
            case JPEG_SOF3:
            case JPEG_SOF5:
            case JPEG_SOF5 + 1:
            case JPEG_SOF7:
            case JPEG_SOF9:
            case JPEG_SOF9 + 1:
            case JPEG_SOF11:
            case JPEG_DAC:
            case JPEG_SOF13:
            case JPEG_SOF13 + 1:
            case JPEG_SOF15:
                Fail(Error::Unsupported);
                break;
            case JPEG_SOI:
            case JPEG_JPG:
            case JPEG_TEM:
                Fail(Error::UnexpectedMarker);
                break;
            default:
                if (marker >= JPEG_RST0 && marker <= JPEG_RST7) {
                    Fail(Error::UnexpectedMarker);
                } else {
                    ok = SkipSegment();
                }
                break;
        }
        if (!ok) return Next::Stop;
    }
    return Next::Stop;
}

bool jpeg_decoder::SkipSegment() {
    const uint32_t length = m_input.ReadWord();
    if (length < 2) {
        Fail(Error::BadSegment);
        return false;
    }
    m_input.Skip(length - 2);
    return true;
}

bool jpeg_decoder::ReadFrame(uint8_t marker) {
    const uint32_t length = m_input.ReadWord();
    const uint32_t precision = m_input.ReadByte();
    m_height = m_input.ReadWord();
    m_width = m_input.ReadWord();
    m_componentcount = m_input.ReadByte();
    if (precision != 8 || m_width == 0 || m_width > MAX_DIMENSION || m_height == 0 ||
        m_height > MAX_DIMENSION || m_componentcount > MAX_COMPONENTS) {
        Fail(Error::BadFrame);
        return false;
    }
    if (length != 3 * m_componentcount + 8) {
        Fail(Error::BadSegment);
        return false;
    }
    for (uint32_t i = 0; i < m_componentcount; ++i) {
        Component& c = m_components[i];
        c.id = m_input.ReadByte();
        const uint8_t sampling = m_input.ReadByte();
        c.h = sampling >> 4;
        c.v = sampling & 0x0F;
        c.quantindex = m_input.ReadByte();
    }
    if (m_input.PastEnd()) {
        Fail(Error::BadSegment);
        return false;
    }
    m_progressive = marker == JPEG_SOF2;
    m_frameseen = true;
    return true;
}

bool jpeg_decoder::ReadHuffmanTables() {
    const uint32_t length = m_input.ReadWord();
    if (length < 2) {
        Fail(Error::BadSegment);
        return false;
    }
    uint32_t left = length - 2;
    while (left > 0) {
        if (left < 17) {
            Fail(Error::BadSegment);
            return false;
        }
        const uint8_t classindex = m_input.ReadByte();
        uint8_t counts[16];
        uint32_t total = 0;
        for (uint8_t& count : counts) {
            count = m_input.ReadByte();
            total += count;
        }
        left -= 17;
        if (total > 255 || total > left) {
            Fail(total > left ? Error::BadSegment : Error::BadTable);
            return false;
        }
        uint8_t symbols[256];
        for (uint32_t i = 0; i < total; ++i) symbols[i] = m_input.ReadByte();
        left -= total;
        // Class 0 (DC) or 1 (AC), table 0 to 3.
        const uint32_t tableclass = classindex >> 4, index = classindex & 0x0F;
        if (tableclass > 1 || index > 3 || m_input.PastEnd() ||
            !m_huffman[tableclass * 4 + index].Define(counts, symbols, total)) {
            Fail(m_input.PastEnd() ? Error::BadSegment : Error::BadTable);
            return false;
        }
    }
    return true;
}

bool jpeg_decoder::ReadQuantTables() {
    const uint32_t length = m_input.ReadWord();
    if (length < 2) {
        Fail(Error::BadSegment);
        return false;
    }
    uint32_t left = length - 2;
    while (left > 0) {
        const uint8_t precisionindex = m_input.ReadByte();
        const uint32_t precision = precisionindex >> 4, index = precisionindex & 0x0F;
        if (precision > 1 || index > 3) {
            Fail(Error::BadTable);
            return false;
        }
        const uint32_t used = 1 + 64 * (precision + 1);
        if (left < used) {
            Fail(Error::BadSegment);
            return false;
        }
        for (uint32_t k = 0; k < 64; ++k) {
            m_quant[index][JPEG_ZIGZAG[k]] =
                uint16_t(precision ? m_input.ReadWord() : m_input.ReadByte());
        }
        left -= used;
        if (m_input.PastEnd()) {
            Fail(Error::BadSegment);
            return false;
        }
        m_quantdefined[index] = true;
    }
    return true;
}

bool jpeg_decoder::ReadRestartInterval() {
    const uint32_t length = m_input.ReadWord();
    const uint32_t interval = m_input.ReadWord();
    if (length != 4 || m_input.PastEnd()) {
        Fail(Error::BadSegment);
        return false;
    }
    m_restartinterval = interval;
    return true;
}

bool jpeg_decoder::ReadScan() {
    const uint32_t length = m_input.ReadWord();
    const uint32_t count = m_input.ReadByte();
    if (count < 1 || count > MAX_COMPONENTS || length != 2 * count + 6) {
        Fail(Error::BadScan);
        return false;
    }
    Scan scan;
    scan.count = count;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t id = m_input.ReadByte();
        const uint8_t tables = m_input.ReadByte();
        uint32_t found = m_componentcount;
        for (uint32_t c = 0; c < m_componentcount; ++c) {
            if (m_components[c].id == id) found = c;
        }
        for (uint32_t j = 0; j < i; ++j) {
            if (scan.components[j] == found) found = m_componentcount;  // named twice
        }
        if (found == m_componentcount) {
            Fail(Error::BadScan);
            return false;
        }
        scan.components[i] = found;
        m_components[found].dctable = tables >> 4;
        m_components[found].actable = tables & 0x0F;
    }
    scan.spectralstart = m_input.ReadByte();
    scan.spectralend = m_input.ReadByte();
    const uint8_t approximation = m_input.ReadByte();
    scan.approxhigh = approximation >> 4;
    scan.approxlow = approximation & 0x0F;
    if (m_input.PastEnd()) {
        Fail(Error::BadSegment);
        return false;
    }
    if (!m_progressive) {
        scan.spectralstart = 0;
        scan.spectralend = 63;
        scan.approxhigh = scan.approxlow = 0;
    } else {
        const bool dc = scan.spectralstart == 0;
        const bool bad = scan.spectralstart > scan.spectralend || scan.spectralend > 63 ||
                         (dc && scan.spectralend != 0) || (!dc && count != 1) ||
                         (scan.approxhigh != 0 && scan.approxlow != scan.approxhigh - 1) ||
                         scan.approxlow > 13;
        if (bad) {
            Fail(Error::BadScan);
            return false;
        }
    }
    m_scan = scan;
    return PrepareScan();
}

// Checks that the scan's tables exist, takes each component's quantisation table the first
// time the component appears, and resets the state of the entropy decoder.
bool jpeg_decoder::PrepareScan() {
    if (++m_scancount > MAX_SCANS) {
        Fail(Error::BadScan);
        return false;
    }
    const bool usesdc = m_scan.spectralstart == 0 && m_scan.approxhigh == 0;
    const bool usesac = m_scan.spectralend != 0;
    for (uint32_t i = 0; i < m_scan.count; ++i) {
        Component& c = m_components[m_scan.components[i]];
        const bool dcok = !usesdc || (c.dctable < 4 && m_huffman[c.dctable].Defined());
        const bool acok = !usesac || (c.actable < 4 && m_huffman[4 + c.actable].Defined());
        const bool quantok = c.quantlatched || m_quantdefined[c.quantindex];
        if (!dcok || !acok || !quantok) {
            Fail(Error::BadScan);
            return false;
        }
        if (!c.quantlatched) {
            std::memcpy(c.quant, m_quant[c.quantindex], sizeof(c.quant));
            c.quantlatched = true;
        }
        c.dcpredictor = 0;
    }
    m_restartsleft = m_restartinterval;
    m_nextrestart = 0;
    m_eobrun = 0;
    m_bits = {};
    return true;
}

bool jpeg_decoder::CheckLayout() {
    bool ok = m_componentcount == 1 || m_componentcount == 3;
    for (uint32_t i = 0; i < m_componentcount; ++i) {
        const Component& c = m_components[i];
        ok = ok && c.quantindex < 4;
        for (uint32_t j = 0; j < i; ++j) ok = ok && m_components[j].id != c.id;
    }
    if (ok && m_componentcount == 3) {
        const Component& luma = m_components[0];
        ok = luma.h >= 1 && luma.h <= 2 && luma.v >= 1 && luma.v <= 2;
        for (uint32_t i = 1; i < 3; ++i)
            ok = ok && m_components[i].h == 1 && m_components[i].v == 1;
    }
    if (!ok) {
        Fail(Error::BadFrame);
        return false;
    }
    // One component is always sent in blocks of 8 × 8, whatever its sampling factors say.
    if (m_componentcount == 1) m_components[0].h = m_components[0].v = 1;
    m_hmax = m_components[0].h;
    m_vmax = m_components[0].v;
    m_mcuswide = CeilDiv(m_width, 8 * m_hmax);
    m_mcushigh = CeilDiv(m_height, 8 * m_vmax);
    for (uint32_t i = 0; i < m_componentcount; ++i) {
        Component& c = m_components[i];
        c.blockswide = CeilDiv(CeilDiv(m_width * c.h, m_hmax), 8);
        c.blockshigh = CeilDiv(CeilDiv(m_height * c.v, m_vmax), 8);
        c.paddedwide = m_mcuswide * c.h;
        c.paddedhigh = m_mcushigh * c.v;
    }
    return true;
}

bool jpeg_decoder::AllocateOutput() {
    for (uint32_t i = 0; i < m_componentcount; ++i) {
        Component& c = m_components[i];
        c.plane = static_cast<uint8_t*>(Allocate(size_t(c.paddedwide) * 64 * c.v));
        if (c.plane == nullptr) return false;
    }
    if (Greyscale()) return true;
    m_line = static_cast<uint8_t*>(Allocate(size_t(m_width) * 4));
    m_termstride = (m_width + 15) & ~15u;
    m_terms = static_cast<int16_t*>(Allocate(size_t(m_termstride) * 3 * sizeof(int16_t)));
    return m_line != nullptr && m_terms != nullptr;
}

bool jpeg_decoder::AllocateCoefficients() {
    uint64_t blocks = 0;
    for (uint32_t i = 0; i < m_componentcount; ++i) {
        blocks += uint64_t(m_components[i].paddedwide) * m_components[i].paddedhigh;
    }
    if (blocks > MostBlocks(SourceSize())) {
        Fail(Error::TooLarge);
        return false;
    }
    for (uint32_t i = 0; i < m_componentcount; ++i) {
        Component& c = m_components[i];
        const size_t count = size_t(c.paddedwide) * c.paddedhigh * 64;
        c.coefficients = static_cast<int16_t*>(Allocate(count * sizeof(int16_t)));
        if (c.coefficients == nullptr) return false;
    }
    return true;
}

uint32_t jpeg_decoder::BeginDecoding() {
    if (m_started) return m_error == Error::None ? 0 : 1;
    m_started = true;
    if (m_error != Error::None || !CheckLayout()) return 1;
    if (ReadMarkers() != Next::Scan) {
        Fail(Error::UnexpectedMarker);  // the image ended before its first scan
        return 1;
    }
    m_buffered = m_progressive || m_scan.count != m_componentcount;
    if (!AllocateOutput()) return 1;
    if (m_buffered && (!AllocateCoefficients() || !DecodeAllScans())) return 1;
    return 0;
}

void jpeg_decoder::InverseTransformRow(uint32_t mcurow) {
    for (uint32_t i = 0; i < m_componentcount; ++i) {
        Component& c = m_components[i];
        const uint32_t stride = c.paddedwide * 8;
        for (uint32_t by = 0; by < c.v; ++by) {
            const int16_t* coefficients =
                c.coefficients + (size_t(mcurow) * c.v + by) * c.paddedwide * 64;
            uint8_t* row = c.plane + size_t(by) * 8 * stride;
            for (uint32_t bx = 0; bx < c.paddedwide; ++bx, coefficients += 64) {
                uint32_t ac = 0;
                for (uint32_t k = 1; k < 64; ++k) ac |= uint16_t(coefficients[k]);
                uint8_t* out = row + bx * 8;
                if (ac == 0) {
                    const uint8_t value = JpegIdctFlatValue(coefficients[0] * int32_t(c.quant[0]));
                    for (uint32_t y = 0; y < 8; ++y) std::memset(out + y * stride, value, 8);
                    continue;
                }
                int32_t block[64];
                for (uint32_t k = 0; k < 64; ++k) block[k] = coefficients[k] * int32_t(c.quant[k]);
                m_idct(block, out, stride);
            }
        }
    }
}

bool jpeg_decoder::ProduceMcuRow(uint32_t mcurow) {
    if (m_buffered) {
        InverseTransformRow(mcurow);
        return true;
    }
    return DecodeMcuRow();
}

uint32_t jpeg_decoder::DecodeLine(const uint8_t** line, uint32_t* length) {
    if (m_error != Error::None || !m_started || m_nextline >= m_height) return 1;
    const uint32_t mcuheight = 8 * m_vmax;
    const uint32_t mcurow = m_nextline / mcuheight, y = m_nextline % mcuheight;
    if (mcurow != m_mcurowready) {
        if (!ProduceMcuRow(mcurow)) {
            m_nextline = m_height;  // the lines so far are all there is
            return 1;
        }
        m_mcurowready = mcurow;
    }
    const Component& luma = m_components[0];
    const uint8_t* samples = luma.plane + size_t(y) * luma.paddedwide * 8;
    ++m_nextline;
    if (Greyscale()) {
        *line = samples;
        *length = m_width;
        return 0;
    }
    const uint32_t chromarow = mcurow * 8 + y / m_vmax;
    if (chromarow != m_chromarowready) {
        const Component& cb = m_components[1];
        const Component& cr = m_components[2];
        const size_t offset = size_t(y / m_vmax) * cb.paddedwide * 8;
        JpegChromaTerms(m_colour, cb.plane + offset, cr.plane + offset, CeilDiv(m_width, m_hmax),
                        m_terms, m_termstride);
        m_chromarowready = chromarow;
    }
    JpegColourLine(samples, m_terms, m_termstride, m_hmax, m_width, m_line);
    *line = m_line;
    *length = m_width * 4;
    return 0;
}
