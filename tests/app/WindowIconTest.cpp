#include "AppTestSupport.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

// What the window system is handed as the window's icon, drawn 192 pixels square: the flag
// (192 x 128) stands centred in it, the sun's rays 24 pixels long.
QImage iconOf(QWidget* window)
{
    return window->windowHandle()->icon().pixmap(QSize(192, 192)).toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

TEST(WindowIcon, EveryWindowShowsTheFlag)
{
    test::launchApplication();
    ASSERT_TRUE(test::chooseMenuItem("AboutThissoftware"));

    const struct {
        const char* where;
        QPoint at;
        QRgb colour;
    } points[] = {
        { "the canton", { 8, 40 }, qRgb(0x00, 0x29, 0xCC) },
        { "the sun's centre", { 48, 64 }, qRgb(0xFF, 0xFF, 0xFF) },
        { "the sun's right ray", { 64, 64 }, qRgb(0xFF, 0xFF, 0xFF) },
        { "between two rays", { 63, 68 }, qRgb(0x00, 0x29, 0xCC) },
        { "the ring round the sun's disc", { 48, 76 }, qRgb(0x00, 0x29, 0xCC) },
        { "the field right of the canton", { 140, 40 }, qRgb(0xF2, 0x00, 0x00) },
        { "the field below the canton", { 20, 140 }, qRgb(0xF2, 0x00, 0x00) },
        { "above the flag", { 96, 12 }, qRgba(0, 0, 0, 0) },
    };
    int windows = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        ++windows;
        SCOPED_TRACE(window->windowTitle().toStdString());
        const QImage icon = iconOf(window);
        ASSERT_EQ(icon.size(), QSize(192, 192));
        for (const auto& point : points) {
            SCOPED_TRACE(point.where);
            const QRgb seen = icon.pixel(point.at);
            EXPECT_EQ(qAlpha(seen), qAlpha(point.colour));
            if (qAlpha(point.colour) != 0) {
                EXPECT_EQ(seen, point.colour);
            }
        }
    }
    EXPECT_EQ(windows, 3) << "the flag, the panel and the about window";
}
