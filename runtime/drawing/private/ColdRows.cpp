#include "drawing/private/ColdRows.h"

#include <algorithm>

#include <sys/mman.h>
#include <unistd.h>

ColdRows::ColdRows(uchar* bits, size_t bytes, qsizetype stride)
    : m_bits(bits)
    , m_bytes(bytes)
    , m_stride(stride)
    , m_bands((bytes + kBandBytes - 1) / kBandBytes)
{
}

size_t ColdRows::bandEnd(size_t band) const
{
    return std::min(m_bytes, (band + 1) * kBandBytes);
}

void ColdRows::need(int top, int bottom)
{
    top = std::max(top, 0);
    if (top >= bottom)
        return;
    const size_t first = static_cast<size_t>(top) * static_cast<size_t>(m_stride) / kBandBytes;
    const size_t last = std::min((static_cast<size_t>(bottom) * static_cast<size_t>(m_stride) - 1) / kBandBytes, m_bands.size() - 1);
    for (size_t band = first; band <= last; ++band) {
        if (m_bands[band].cold)
            restore(band);
        m_bands[band].idleFrames = 0;
        m_bands[band].varied = false;
    }
}

void ColdRows::needAll()
{
    need(0, static_cast<int>(m_bytes / static_cast<size_t>(m_stride)));
}

void ColdRows::frameDrawn()
{
    for (size_t band = 0; band < m_bands.size(); ++band) {
        Band& state = m_bands[band];
        if (!state.cold && !state.varied && ++state.idleFrames >= kIdleFrames)
            release(band);
    }
}

int ColdRows::coldBands() const
{
    return static_cast<int>(std::count_if(m_bands.begin(), m_bands.end(), [](const Band& band) { return band.cold; }));
}

void ColdRows::release(size_t band)
{
    Band& state = m_bands[band];
    const auto* pixel = reinterpret_cast<const uint32_t*>(m_bits + band * kBandBytes);
    const auto* end = reinterpret_cast<const uint32_t*>(m_bits + bandEnd(band));
    // Runs must take an eighth of the pixels' memory at most to be worth keeping instead.
    const size_t most = static_cast<size_t>(end - pixel) * sizeof(uint32_t) / 8 / sizeof(Run);
    std::vector<Run>& runs = state.runs;
    runs.clear();
    while (pixel != end && runs.size() <= most) {
        const uint32_t value = *pixel;
        const uint32_t* next = std::find_if(pixel + 1, end, [value](uint32_t other) { return other != value; });
        runs.push_back({ static_cast<uint32_t>(next - pixel), value });
        pixel = next;
    }
    if (pixel != end) {
        std::vector<Run>().swap(runs);
        state.varied = true;
        return;
    }
    runs.shrink_to_fit();
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    const size_t length = (bandEnd(band) - band * kBandBytes + page - 1) / page * page;
    // Released pages read as zero afterwards: zero runs need no writing back.
    if (madvise(m_bits + band * kBandBytes, length, MADV_DONTNEED) != 0) {
        std::vector<Run>().swap(runs);
        state.varied = true;
        return;
    }
    state.cold = true;
}

void ColdRows::restore(size_t band)
{
    Band& state = m_bands[band];
    auto* pixel = reinterpret_cast<uint32_t*>(m_bits + band * kBandBytes);
    for (const Run& run : state.runs) {
        if (run.pixel != 0)
            std::fill(pixel, pixel + run.length, run.pixel);
        pixel += run.length;
    }
    std::vector<Run>().swap(state.runs);
    state.cold = false;
}
