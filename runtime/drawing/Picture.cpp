#include "drawing/Picture.h"

#include "drawing/Graphics.h"
#include "drawing/private/ColdRows.h"
#include "drawing/private/PictureRecord.h"
#include "drawing/private/PictureTarget.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include <sys/mman.h>

RUNTIME_CLASS_RECORD(Picture, "Picture", Object)

struct Picture::Surface {
    QImage image;
    // Opened once for the picture's life: QPainter::begin allocates, and every frame draws.
    QPainter painter;
    QRect drawn;
    // Absent for pictures too small to give memory back.
    std::unique_ptr<ColdRows> coldRows;
    std::unique_ptr<PictureRecord> record;
    // What the picture's Graphics draws on.
    std::unique_ptr<PictureTarget> target;
};

namespace {

constexpr int64_t kLargestSide = 32767;
constexpr size_t kHugePage = 2 * 1024 * 1024;
static_assert(ColdRows::kBandBytes % kHugePage == 0, "bands of whole huge pages");

// Zeroed memory for pixels, freed with the last image that uses it.
struct Pixels {
    void* data = nullptr;
    size_t mapped = 0;

    static Pixels* make(size_t bytes)
    {
        auto* pixels = new Pixels;
        if (bytes >= kHugePage) {
            // A frame redraws a few pixels on many rows; on small pages every row would cost the
            // processor a page-table walk. Mapped from a huge page's boundary, so that the bands
            // ColdRows gives back are whole huge pages.
            const size_t mapped = (bytes + kHugePage - 1) / kHugePage * kHugePage;
            void* reserved = mmap(nullptr, mapped + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (reserved != MAP_FAILED) {
                auto* start = static_cast<uchar*>(reserved);
                auto* data = reinterpret_cast<uchar*>((reinterpret_cast<uintptr_t>(start) + kHugePage - 1) / kHugePage * kHugePage);
                const auto head = static_cast<size_t>(data - start);
                if (head)
                    munmap(start, head);
                munmap(data + mapped, kHugePage - head);
                madvise(data, mapped, MADV_HUGEPAGE);
                pixels->data = data;
                pixels->mapped = mapped;
            }
        } else {
            pixels->data = std::calloc(bytes, 1);
        }
        if (!pixels->data) {
            delete pixels;
            return nullptr;
        }
        return pixels;
    }

    ~Pixels()
    {
        if (mapped)
            munmap(data, mapped);
        else
            std::free(data);
    }
};

double screenPixelRatio()
{
    const QScreen* screen = qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
    return screen ? screen->devicePixelRatio() : 1.0;
}

} // namespace

Picture::Picture()
    : Picture(1, 1, 32)
{
}

Picture::Picture(int64_t width, int64_t height, int64_t depth)
    : m_width(width)
    , m_height(height)
    , m_depth(depth)
{
    if (width < 1 || width > kLargestSide || height < 1 || height > kLargestSide)
        throw OutOfBoundsException("Width/Height needs to be in the range 1-32767");
    const double pixelRatio = screenPixelRatio();
    m_surface = std::make_unique<Surface>();
    const int pixelWidth = static_cast<int>(std::ceil(static_cast<double>(width) * pixelRatio));
    const int pixelHeight = static_cast<int>(std::ceil(static_cast<double>(height) * pixelRatio));
    // Zeroed memory is transparent already, and the pages nothing draws on (the flag's
    // screen-sized pictures mostly) then cost no resident memory.
    const size_t bytesPerLine = static_cast<size_t>(pixelWidth) * 4;
    const size_t bytes = static_cast<size_t>(pixelHeight) * bytesPerLine;
    Pixels* pixels = Pixels::make(bytes);
    if (!pixels)
        throw RuntimeException("OutOfMemoryException", "no memory for a picture of " + std::to_string(width) + " x " + std::to_string(height));
    m_surface->image = QImage(static_cast<uchar*>(pixels->data), pixelWidth, pixelHeight, static_cast<qsizetype>(bytesPerLine),
                              QImage::Format_ARGB32_Premultiplied, [](void* info) { delete static_cast<Pixels*>(info); }, pixels);
    m_surface->image.setDevicePixelRatio(pixelRatio);
    if (pixels->mapped)
        m_surface->coldRows = std::make_unique<ColdRows>(m_surface->image.bits(), bytes, static_cast<qsizetype>(bytesPerLine));
    m_surface->record = std::make_unique<PictureRecord>(m_surface->image, m_surface->coldRows.get());
    m_surface->painter.begin(&m_surface->image);
    m_surface->painter.setRenderHint(QPainter::Antialiasing);
    m_surface->target = std::make_unique<PictureTarget>(*this, m_surface->painter);
    m_graphics = makeRef<::Graphics>();
    m_graphics->bindTarget(m_surface->target.get());
}

Picture::~Picture()
{
    // Someone may still hold the surface; it must not draw on pixels that are gone.
    if (m_graphics)
        m_graphics->bindTarget(nullptr);
}

Ref<Picture> Picture::Constructor(int64_t width, int64_t height, int64_t depth)
{
    return makeRef<Picture>(width, height, depth);
}

QImage& Picture::image()
{
    imageRows(0, m_surface->image.height());
    return m_surface->image;
}

const QImage& Picture::image() const
{
    return imageRows(0, m_surface->image.height());
}

const QImage& Picture::imageRows(int top, int bottom) const
{
    m_surface->record->render();
    if (m_surface->coldRows)
        m_surface->coldRows->need(top, bottom);
    return m_surface->image;
}

double Picture::pixelRatio() const
{
    return m_surface->image.devicePixelRatio();
}

QRect Picture::pixelRect() const
{
    return m_surface->image.rect();
}

PictureRecord& Picture::record()
{
    return *m_surface->record;
}

QRect Picture::drawnPixels() const
{
    return m_surface->drawn;
}

void Picture::noteDrawn(const QRectF& area)
{
    const double pixelRatio = m_surface->image.devicePixelRatio();
    const QRectF pixels(area.topLeft() * pixelRatio, area.size() * pixelRatio);
    m_surface->drawn |= pixels.toAlignedRect() & m_surface->image.rect();
}

void Picture::noteDrawnPixels(const QRect& pixels)
{
    m_surface->drawn |= pixels & m_surface->image.rect();
}
