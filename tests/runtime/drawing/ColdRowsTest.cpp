#include "drawing/private/ColdRows.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include <sys/mman.h>

namespace {

// Pixels as a picture keeps them: a private anonymous mapping from a band's boundary.
class Mapping {
public:
    explicit Mapping(size_t bytes)
        : m_bytes(bytes)
    {
        m_reserved = (bytes + ColdRows::kBandBytes - 1) / ColdRows::kBandBytes * ColdRows::kBandBytes + ColdRows::kBandBytes;
        m_start = mmap(nullptr, m_reserved, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        const auto start = reinterpret_cast<uintptr_t>(m_start);
        m_bits = reinterpret_cast<uchar*>((start + ColdRows::kBandBytes - 1) / ColdRows::kBandBytes * ColdRows::kBandBytes);
    }
    ~Mapping() { munmap(m_start, m_reserved); }
    Mapping(const Mapping&) = delete;
    Mapping& operator=(const Mapping&) = delete;

    uchar* bits() const { return m_bits; }
    uint32_t* pixels() const { return reinterpret_cast<uint32_t*>(m_bits); }
    size_t pixelCount() const { return m_bytes / 4; }

    // Bytes of the range held in memory now.
    size_t resident(size_t from, size_t to) const { return test::residentBytes(m_bits + from, to - from); }

private:
    size_t m_bytes;
    size_t m_reserved;
    void* m_start;
    uchar* m_bits;
};

} // namespace

// Bands left alone past the idle frames are given back, and whatever reads them afterwards
// finds every pixel as it was; a band in use, or one whose runs would save nothing, stays.
TEST(ColdRows, BandsLeftAloneAreGivenBackAndReadBackExactly)
{
    constexpr int kWidth = 1000;
    constexpr qsizetype kStride = kWidth * 4;
    constexpr int kRows = 1300; // two and a half bands
    struct Case {
        const char* what;
        std::function<uint32_t(int x, int y)> pixel;
        bool givenBack;
    };
    std::mt19937 noise(7);
    const Case cases[] = {
        { "a flag's rows: long runs, a few edges", [](int x, int y) { return x < 300 + y / 7 ? 0xFFCC2229u : (x % 97 == 0 ? 0xFF7F1114u : 0xFFFFFFFFu); }, true },
        { "never drawn", [](int, int) { return 0u; }, true },
        { "noise", [&](int, int) { return static_cast<uint32_t>(noise()); }, false },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        Mapping mapping(static_cast<size_t>(kRows) * kStride);
        for (int y = 0; y < kRows; ++y)
            for (int x = 0; x < kWidth; ++x)
                mapping.pixels()[y * kWidth + x] = test.pixel(x, y);
        const std::vector<uint32_t> drawn(mapping.pixels(), mapping.pixels() + mapping.pixelCount());

        ColdRows rows(mapping.bits(), mapping.pixelCount() * 4, kStride);
        for (int frame = 0; frame < ColdRows::kIdleFrames; ++frame) {
            rows.need(10, 20); // rows of the first band, drawn every frame
            rows.frameDrawn();
        }
        const size_t bandsAfterTheFirst = mapping.pixelCount() * 4 - ColdRows::kBandBytes;
        const size_t held = mapping.resident(ColdRows::kBandBytes, mapping.pixelCount() * 4);
        EXPECT_EQ(rows.coldBands(), test.givenBack ? 2 : 0);
        if (test.givenBack)
            EXPECT_EQ(held, 0u);
        else
            EXPECT_GE(held, bandsAfterTheFirst);
        EXPECT_EQ(mapping.resident(0, ColdRows::kBandBytes), ColdRows::kBandBytes) << "the band in use stays";

        rows.need(-20, 0);
        EXPECT_EQ(rows.coldBands(), test.givenBack ? 2 : 0) << "rows above the picture bring nothing back";
        rows.need(kRows - 1, kRows);
        EXPECT_EQ(rows.coldBands(), test.givenBack ? 1 : 0) << "only the last band came back";
        rows.needAll();
        EXPECT_EQ(rows.coldBands(), 0);
        EXPECT_EQ(std::memcmp(mapping.pixels(), drawn.data(), drawn.size() * 4), 0);
    }
}
