#pragma once

// Internal to the runtime: a picture's drawing record. A picture keeps the operations drawn on
// it since its pixels were last brought up to date and draws them only when its pixels are
// needed (a lay onto another surface, a read). It then compares them with the operations that
// made its present pixels and redraws only the pixels they change; every read sees what
// drawing each operation at once would have given.

#include "drawing/Object2D.h"
#include "drawing/private/Raster.h"
#include "object/Ref.h"

#include <QPoint>
#include <QRect>

#include <cstdint>
#include <vector>

class ColdRows;
class Picture;
class QImage;

class PictureRecord : private Object2D::Sink {
public:
    // `coldRows`, if any, keeps the image's unused rows; told of every row drawn and every frame.
    PictureRecord(QImage& image, ColdRows* coldRows);
    ~PictureRecord() override;
    PictureRecord(const PictureRecord&) = delete;
    PictureRecord& operator=(const PictureRecord&) = delete;

    // An opaque fill of the rectangle (device pixels) with a premultiplied colour.
    void fill(const QRect& pixels, uint32_t colour);
    // The shape's fills; false when it has to be drawn directly (see Object2D::place). Widens
    // `touched` by the device pixels drawn.
    bool shape(Object2D& shape, const QTransform& placement, double pixelRatio, QRect& touched);
    // `source` (seen through `mask`, if any) laid at its own size onto the rectangle `to`, which
    // `offset` takes it to from the source's pixels.
    void lay(const Ref<Picture>& source, const Ref<Picture>& mask, QPoint offset, const QRect& to);

    // Before drawing on the pixels directly: everything recorded is drawn first.
    void beginDirect();
    // After drawing directly on `pixels`.
    void endDirect(const QRect& pixels);

    // Brings the pixels up to date.
    void render();
    // Counts the times the pixels changed.
    int64_t version() const { return m_version; }
    // The pixels that changed since `version`, or nullptr when that is not known.
    const raster::Damage* changesSince(int64_t version) const;
    // The pixels known to be opaque once the record is drawn.
    QRect opaquePixels() const;

private:
    struct Operation {
        enum class Kind { Fill, Shape, Lay } kind = Kind::Fill;
        QRect extent;
        uint32_t colour = 0;
        uint32_t firstPoint = 0;
        uint32_t pointCount = 0;
        Ref<Picture> source {};
        Ref<Picture> mask {};
        QPoint offset {};
        int64_t sourceVersion = -1;
        int64_t maskVersion = -1;
    };
    struct Record {
        std::vector<Operation> operations;
        std::vector<raster::Point> points;
        // One per shape operation, at its index; never shrunk, so their buffers stay.
        std::vector<raster::Cells> cells;
        QRect bounds;
        void clear();
    };

    void fill(const QPointF* points, size_t count, Color colour) override;
    // Whether a shape of the colour over `extent` would land whole on the fill last recorded, of the
    // same colour, which any coverage of it leaves as it is: then it changes no pixel, frame after frame.
    bool laidOnItsOwnColour(const QRect& extent, uint32_t colour) const;
    // Cuts the operation to the surface; false when nothing of it is left to add.
    bool add(Operation&& operation);
    void drawReaders();
    void addReader(PictureRecord* reader);
    void removeReader(PictureRecord* reader);
    void forgetSources(Record& record);
    bool sameShape(const Operation& a, const Record& aRecord, const Operation& b, const Record& bRecord) const;
    // An operation as drawing a row needs it.
    struct Reach {
        Operation::Kind kind;
        uint32_t colour;
        QRect extent;
        const raster::Cells* cells = nullptr;
        // A shape whose colour laid over itself stays itself: pixels of that colour are left alone.
        bool sameOverSame = false;
        // A lay: the source's and the mask's pixels, and where they sit on this picture.
        QPoint offset {};
        const uchar* source = nullptr;
        const uchar* mask = nullptr;
        qsizetype sourceStride = 0;
        qsizetype maskStride = 0;
    };

    // The rectangle the record's first operation covers whole, if it is a fill.
    static QRect coverOf(const Record& record);
    void collectChanges(raster::Damage& damage);
    void addLayChanges(raster::Damage& damage, const Operation& now, const Operation& before) const;
    // Draws the pending record over `damage`; puts in `changes` the pixels that may have changed.
    void draw(const raster::Damage& damage, raster::Damage& changes);
    void drawRow(const Reach& reach, int y, const raster::Damage::Span* spans, const raster::Damage::Span* spansEnd, uint32_t* row) const;
    void prefetchAhead(const raster::Damage& damage, int y, const uchar* bits, qsizetype stride) const;
    // Adds the runs of from..to-1 where the row differs from m_before.
    void addChanged(raster::Damage& changes, int y, int from, int to, const uint32_t* row) const;

    QImage& m_image;
    ColdRows* m_coldRows;
    int m_width;
    int m_height;
    Record m_pending;
    Record m_drawn;
    bool m_drawnKnown = false;
    bool m_rendering = false;
    int64_t m_version = 0;
    // What the last change of the pixels changed, and scratch for the next.
    raster::Damage m_changes;
    raster::Damage m_nextChanges;
    raster::Damage m_damage;
    raster::Damage m_carried;
    std::vector<Reach> m_reaches;
    // The lays among them, whose pixels are asked for ahead.
    std::vector<const Reach*> m_lays;
    // A row's pixels as they were before it was drawn, where they are compared.
    std::vector<uint32_t> m_before;
    // Records whose pending lays read these pixels.
    std::vector<PictureRecord*> m_readers;
    // Where shape() puts what it is handed.
    QRect* m_touched = nullptr;
};
