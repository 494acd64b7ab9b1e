#pragma once

// Internal to the runtime: a large picture's pixels in bands of whole huge pages, given back to
// the system while nothing uses them. A band that nothing has drawn on or read for kIdleFrames of
// the picture's frames is kept as runs of equal pixels and its memory released; it is written
// back before anything reads or draws on it again. After a maximize and restore, the old large
// flag's rows are such bands: still there for any read, but read by nothing the window shows.

#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <vector>

class ColdRows {
public:
    static constexpr size_t kBandBytes = 2 * 1024 * 1024;
    // A second of a maximized flag's frames, under three at the launch size: long against the
    // gaps between the frames a resize draws, short against a user's pause.
    static constexpr int kIdleFrames = 40;

    // `bytes` of pixels in rows of `stride` bytes from `bits`, which starts a band; the memory
    // must be whole pages of a private anonymous mapping through the last band's end.
    ColdRows(uchar* bits, size_t bytes, qsizetype stride);

    // Rows top to bottom - 1 are about to be read or drawn on.
    void need(int top, int bottom);
    void needAll();
    // The picture drew a frame: bands left alone long enough are given back.
    void frameDrawn();

    // The bands given back, for tests.
    int coldBands() const;

private:
    struct Run {
        uint32_t length;
        uint32_t pixel;
    };
    struct Band {
        int idleFrames = 0;
        bool cold = false;
        // Too varied for runs to save memory; tried again once it is used.
        bool varied = false;
        std::vector<Run> runs;
    };

    void release(size_t band);
    void restore(size_t band);
    size_t bandEnd(size_t band) const;

    uchar* m_bits;
    size_t m_bytes;
    qsizetype m_stride;
    std::vector<Band> m_bands;
};
