// The entropy-coded data of the scans: restart intervals, sequential blocks, and the four
// kinds of progressive scan of T.81 G.1.2 (DC and AC, first and refinement).
#include <cstring>

#include "imaging/jpeg_decoder.h"
#include "imaging/jpeg_markers.h"

namespace {

// A restart marker follows its interval within this many bytes, or the decode fails.
constexpr uint32_t RESTART_SEARCH = 1536;

int16_t Wrap16(uint32_t v) {
    return int16_t(uint16_t(v));
}

}  // namespace

int32_t jpeg_decoder::DecodeSymbol(const VJpegHuffmanTable& table, Bits& bits) {
    uint32_t length = 0;
    const int32_t symbol = table.Decode(bits.Peek16(), &length);
    if (symbol >= 0) bits.Drop(length);
    return symbol;
}

// size 1 to 15 bits: values below half the range stand for negative numbers.
int32_t jpeg_decoder::ReceiveExtend(uint32_t size, Bits& bits) {
    const int32_t value = int32_t(bits.Take(size));
    const int32_t negative = (value >> (size - 1)) - 1;  // all ones when the top bit is 0
    return value + (negative & (1 - (1 << size)));
}

// Before each MCU: at the end of an interval the next marker must be the expected restart
// marker. The end-of-image marker there means the data ended.
bool jpeg_decoder::HandleRestart(Bits& bits) {
    if (m_restartinterval == 0) return true;
    if (m_restartsleft == 0) {
        const uint8_t marker = m_input.NextMarker(RESTART_SEARCH);
        bits = {};
        if (marker == JPEG_EOI) {
            m_dataended = true;
            return false;
        }
        if (marker != JPEG_RST0 + m_nextrestart) {
            Fail(Error::BadRestart);
            return false;
        }
        m_nextrestart = (m_nextrestart + 1) & 7;
        m_restartsleft = m_restartinterval;
        m_eobrun = 0;
        for (Component& c : m_components) c.dcpredictor = 0;
    }
    --m_restartsleft;
    return true;
}

// One block of a sequential scan: store(k, value) for each coefficient sent, k its place in
// coding order (0 the DC coefficient, which is sent as a difference to the last one).
template <class Store>
bool jpeg_decoder::DecodeSequentialBlock(Component& c, Bits& bits, Store store) {
    m_input.NeedBits(bits);
    const int32_t size = DecodeSymbol(m_huffman[c.dctable], bits);
    if (size < 0 || size > 15) {
        Fail(Error::BadData);
        return false;
    }
    const int32_t diff = size != 0 ? ReceiveExtend(uint32_t(size), bits) : 0;
    c.dcpredictor = Wrap16(uint32_t(c.dcpredictor + diff));
    store(0, c.dcpredictor);
    const VJpegHuffmanTable& ac = m_huffman[4 + c.actable];
    for (uint32_t k = 1; k < 64;) {
        m_input.NeedBits(bits);
        const int32_t rs = DecodeSymbol(ac, bits);
        if (rs < 0) {
            Fail(Error::BadData);
            return false;
        }
        const uint32_t run = uint32_t(rs) >> 4, size = uint32_t(rs) & 15;
        if (size == 0) {
            if (run != 15) break;  // end of block
            k += 16;               // sixteen zeros
            continue;
        }
        k += run;
        if (k > 63) {
            Fail(Error::BadData);
            return false;
        }
        store(k++, ReceiveExtend(size, bits));
    }
    return true;
}

// One row of MCUs of a sequential scan that holds every component, decoded, dequantised and
// transformed into the planes.
bool jpeg_decoder::DecodeMcuRow() {
    Bits bits = m_bits;
    // The block stays zero between blocks: only the places a block wrote are cleared again.
    int32_t block[64] = {};
    uint8_t written[64];
    auto decode = [&]() {
        for (uint32_t mx = 0; mx < m_mcuswide; ++mx) {
            if (!HandleRestart(bits)) return false;
            for (uint32_t i = 0; i < m_scan.count; ++i) {
                Component& c = m_components[m_scan.components[i]];
                const uint32_t stride = c.paddedwide * 8;
                for (uint32_t by = 0; by < c.v; ++by) {
                    for (uint32_t bx = 0; bx < c.h; ++bx) {
                        uint32_t count = 0;
                        auto store = [&](uint32_t k, int32_t value) {
                            const uint32_t at = JPEG_ZIGZAG[k];
                            block[at] = value * int32_t(c.quant[at]);
                            written[count++] = uint8_t(at);
                        };
                        if (!DecodeSequentialBlock(c, bits, store)) return false;
                        uint8_t* out = c.plane + size_t(by) * 8 * stride + (mx * c.h + bx) * 8;
                        if (count > 1) {
                            m_idct(block, out, stride);
                            for (uint32_t n = 1; n < count; ++n) block[written[n]] = 0;
                        } else {
                            const uint8_t value = JpegIdctFlatValue(block[0]);
                            for (uint32_t y = 0; y < 8; ++y)
                                std::memset(out + y * stride, value, 8);
                        }
                    }
                }
            }
            if (m_input.UsedMissingBits(bits)) {
                m_dataended = true;
                return false;
            }
        }
        return true;
    };
    const bool ok = decode();
    m_bits = bits;
    return ok;
}

// A block of a buffered scan, by the kind of scan. Coefficients are kept as they were sent;
// they are dequantised when the picture is made.
bool jpeg_decoder::DecodeBufferedBlock(Component& c, int16_t* block, Bits& bits) {
    if (!m_progressive) {
        return DecodeSequentialBlock(c, bits, [block](uint32_t k, int32_t value) {
            block[JPEG_ZIGZAG[k]] = Wrap16(uint32_t(value));
        });
    }
    const bool first = m_scan.approxhigh == 0;
    if (m_scan.spectralstart == 0) {
        return first ? DecodeDcFirst(c, block, bits) : DecodeDcRefine(block, bits);
    }
    return first ? DecodeAcFirst(c, block, bits) : DecodeAcRefine(c, block, bits);
}

bool jpeg_decoder::DecodeDcFirst(Component& c, int16_t* block, Bits& bits) {
    m_input.NeedBits(bits);
    const int32_t size = DecodeSymbol(m_huffman[c.dctable], bits);
    if (size < 0 || size > 15) {
        Fail(Error::BadData);
        return false;
    }
    const int32_t diff = size != 0 ? ReceiveExtend(uint32_t(size), bits) : 0;
    c.dcpredictor = Wrap16(uint32_t(c.dcpredictor + diff));
    block[0] = Wrap16(uint32_t(c.dcpredictor) << m_scan.approxlow);
    return true;
}

bool jpeg_decoder::DecodeDcRefine(int16_t* block, Bits& bits) {
    m_input.NeedBits(bits);
    if (bits.Take(1)) block[0] = Wrap16(uint32_t(block[0]) | 1u << m_scan.approxlow);
    return true;
}

bool jpeg_decoder::DecodeAcFirst(Component& c, int16_t* block, Bits& bits) {
    if (m_eobrun > 0) {
        --m_eobrun;
        return true;
    }
    const VJpegHuffmanTable& ac = m_huffman[4 + c.actable];
    for (uint32_t k = m_scan.spectralstart; k <= m_scan.spectralend;) {
        m_input.NeedBits(bits);
        const int32_t rs = DecodeSymbol(ac, bits);
        if (rs < 0) {
            Fail(Error::BadData);
            return false;
        }
        const uint32_t run = uint32_t(rs) >> 4, size = uint32_t(rs) & 15;
        if (size == 0) {
            if (run == 15) {
                k += 16;
                continue;
            }
            // An end-of-band run of 2^run blocks and more, this one the first.
            m_eobrun = (1u << run) - 1;
            if (run != 0) m_eobrun += bits.Take(run);
            break;
        }
        k += run;
        if (k > m_scan.spectralend) {
            Fail(Error::BadData);
            return false;
        }
        block[JPEG_ZIGZAG[k++]] = Wrap16(uint32_t(ReceiveExtend(size, bits)) << m_scan.approxlow);
    }
    return true;
}

bool jpeg_decoder::DecodeAcRefine(Component& c, int16_t* block, Bits& bits) {
    const int32_t plus = 1 << m_scan.approxlow, minus = -plus;
    const uint32_t end = m_scan.spectralend;
    // A coefficient that is already non-zero takes one correction bit: 1 adds the bit of
    // this scan to its magnitude, unless it has it already.
    auto refine = [&](int16_t& coefficient) {
        m_input.NeedBits(bits);
        if (bits.Take(1) && (coefficient & plus) == 0) {
            coefficient = Wrap16(uint32_t(coefficient + (coefficient >= 0 ? plus : minus)));
        }
    };
    uint32_t k = m_scan.spectralstart;
    if (m_eobrun == 0) {
        const VJpegHuffmanTable& ac = m_huffman[4 + c.actable];
        for (; k <= end; ++k) {
            m_input.NeedBits(bits);
            const int32_t rs = DecodeSymbol(ac, bits);
            if (rs < 0) {
                Fail(Error::BadData);
                return false;
            }
            uint32_t run = uint32_t(rs) >> 4;
            int32_t value = 0;
            if ((rs & 15) != 0) {
                value = bits.Take(1) ? plus : minus;  // a coefficient that becomes non-zero
            } else if (run != 15) {
                m_eobrun = 1u << run;
                if (run != 0) m_eobrun += bits.Take(run);
                break;
            }
            // Past the coefficients that are non-zero already (each takes its correction
            // bit) and run zero ones, to the place of the new coefficient.
            for (; k <= end; ++k) {
                int16_t& coefficient = block[JPEG_ZIGZAG[k]];
                if (coefficient != 0) {
                    refine(coefficient);
                } else if (run-- == 0) {
                    break;
                }
            }
            if (value != 0) {
                if (k > end) {
                    Fail(Error::BadData);
                    return false;
                }
                block[JPEG_ZIGZAG[k]] = int16_t(value);
            }
        }
    }
    if (m_eobrun > 0) {
        // The rest of the band is in an end-of-band run: only correction bits.
        for (; k <= end; ++k) {
            int16_t& coefficient = block[JPEG_ZIGZAG[k]];
            if (coefficient != 0) refine(coefficient);
        }
        --m_eobrun;
    }
    return true;
}

// One scan into the coefficient buffers. A single component is sent block by block over its
// own blocks; several go MCU by MCU. When the data runs out the scan stops there.
void jpeg_decoder::DecodeBufferedScan() {
    Bits bits;
    if (m_scan.count == 1) {
        Component& c = m_components[m_scan.components[0]];
        for (uint32_t by = 0; by < c.blockshigh; ++by) {
            for (uint32_t bx = 0; bx < c.blockswide; ++bx) {
                if (!HandleRestart(bits)) return;
                int16_t* block = c.coefficients + (size_t(by) * c.paddedwide + bx) * 64;
                if (!DecodeBufferedBlock(c, block, bits)) return;
                if (m_input.UsedMissingBits(bits)) {
                    m_dataended = true;
                    return;
                }
            }
        }
        return;
    }
    for (uint32_t my = 0; my < m_mcushigh; ++my) {
        for (uint32_t mx = 0; mx < m_mcuswide; ++mx) {
            if (!HandleRestart(bits)) return;
            for (uint32_t i = 0; i < m_scan.count; ++i) {
                Component& c = m_components[m_scan.components[i]];
                for (uint32_t by = 0; by < c.v; ++by) {
                    for (uint32_t bx = 0; bx < c.h; ++bx) {
                        const size_t at = (size_t(my) * c.v + by) * c.paddedwide + mx * c.h + bx;
                        if (!DecodeBufferedBlock(c, c.coefficients + at * 64, bits)) return;
                    }
                }
            }
            if (m_input.UsedMissingBits(bits)) {
                m_dataended = true;
                return;
            }
        }
    }
}

bool jpeg_decoder::DecodeAllScans() {
    for (;;) {
        DecodeBufferedScan();
        if (m_error != Error::None) return false;
        if (m_dataended) return true;
        const Next next = ReadMarkers();
        if (next == Next::End) return true;
        if (next != Next::Scan) return false;
    }
}
