#include "drawing/Graphics.h"

#include "drawing/Picture.h"
#include "drawing/private/GraphicsTarget.h"
#include "drawing/private/PainterTarget.h"

RUNTIME_CLASS_RECORD(Graphics, "Graphics", Object)

Graphics::Graphics() = default;

Graphics::~Graphics() = default;

Ref<Graphics> Graphics::forPainter(QPainter* painter)
{
    auto graphics = makeRef<Graphics>();
    graphics->bindPainter(painter);
    return graphics;
}

void Graphics::bindPainter(QPainter* painter)
{
    if (!painter) {
        m_target = nullptr;
        return;
    }
    if (!m_painterTarget)
        m_painterTarget = std::make_unique<PainterTarget>();
    m_painterTarget->bind(painter);
    m_target = m_painterTarget.get();
}

void Graphics::bindTarget(GraphicsTarget* target)
{
    m_target = target;
}

GraphicsTarget& Graphics::target() const
{
    if (!m_target)
        throw NilObjectException();
    return *m_target;
}

void Graphics::FillRect(int64_t x, int64_t y, int64_t width, int64_t height)
{
    GraphicsTarget& drawn = target();
    if (width <= 0 || height <= 0)
        return;
    drawn.fillRect(m_foreColor, x, y, width, height);
}

void Graphics::DrawObject(const Ref<Object2D>& shape, double x, double y)
{
    GraphicsTarget& drawn = target();
    shape.get();
    drawn.drawObject(shape, x, y);
}

void Graphics::DrawPicture(const Ref<Picture>& picture, double x, double y, double width, double height,
                           double sourceX, double sourceY, double sourceWidth, double sourceHeight)
{
    GraphicsTarget& drawn = target();
    const Picture& source = *picture;
    const auto given = [](double value, int64_t own) { return value == kLeftOut ? static_cast<double>(own) : value; };
    const PictureLay lay { x, y, given(width, source.Width()), given(height, source.Height()), sourceX, sourceY,
                           given(sourceWidth, source.Width()), given(sourceHeight, source.Height()) };
    if (lay.width <= 0 || lay.height <= 0 || lay.sourceWidth <= 0 || lay.sourceHeight <= 0)
        return;
    drawn.drawPicture(picture, lay);
}
