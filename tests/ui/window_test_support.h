// What the window tests share: the surface buttons, frames drawn independently, modal dialogs ended.
#pragma once

#include <functional>
#include <utility>

#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QtTest/QTest>

#include "render/frame.h"
#include "render/raster_canvas.h"
#include "ui/viewer_dlg.h"

// The buttons' object names in SurfaceKind order, 1 to 8.
inline const char* const kSurfaceButtons[] = {
    "IDC_SURFACE_MOEBIUS", "IDC_SURFACE_SADDLE",       "IDC_SURFACE_SPHERE", "IDC_SURFACE_SINE",
    "IDC_SURFACE_TORUS",   "IDC_SURFACE_PSEUDOSPHERE", "IDC_SURFACE_SPIRAL", "IDC_SURFACE_LEONARDO",
};

// Clicks the button of one of the eight surfaces, as a user picks it.
// A field's text replaced as a user does it: all selected, erased, typed anew.
inline void Retype(QLineEdit* field, const QString& text)
{
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

inline void ClickSurface(CViewerDlg& dlg, SurfaceKind kind)
{
    QTest::mouseClick(dlg.findChild<QAbstractButton*>(kSurfaceButtons[kind - 1]), Qt::LeftButton);
}

// Shows the window and waits until it is the active one, so that keys reach it.
[[nodiscard]] inline bool ShowActive(CViewerDlg& dlg)
{
    dlg.show();
    dlg.activateWindow();
    return QTest::qWaitForWindowActive(&dlg);
}

// Where the style puts an arrow, a page area or the thumb of the bar.
inline QPoint PartOf(QScrollBar& bar, QStyle::SubControl part)
{
    QStyleOptionSlider option;
    option.initFrom(&bar);
    option.orientation = bar.orientation();
    option.minimum = bar.minimum();
    option.maximum = bar.maximum();
    option.sliderPosition = bar.sliderPosition();
    option.sliderValue = bar.value();
    option.singleStep = bar.singleStep();
    option.pageStep = bar.pageStep();
    return bar.style()->subControlRect(QStyle::CC_ScrollBar, &option, part, &bar).center();
}

// The frame of a copy of view, through the generic canvas path rather than the window's; the
// surface is one of the eight, or one of surfaces.
inline QImage FrameOf(ViewState view, const SurfaceRegistry* surfaces = nullptr)
{
    RasterCanvas canvas;
    if (surfaces) {
        const Wireframe& wire = surfaces->WireframeOf(view.surface);
        DrawFrame(BeginFrame(view, wire), wire, static_cast<Canvas&>(canvas));
    } else {
        RenderNextFrame(view, static_cast<Canvas&>(canvas));
    }
    QImage image(kCanvasSide, kCanvasSide, QImage::Format_RGB32);
    for (int row = 0; row < kCanvasSide; ++row)
        for (int col = 0; col < kCanvasSide; ++col)
            image.setPixel(col, row, canvas.PixelAt(col, row));
    return image;
}

inline QImage ShownFrame(CViewerDlg& dlg)
{
    return dlg.grab(kFrameRect).toImage().convertToFormat(QImage::Format_RGB32);
}

inline int CountPixels(const QImage& image, std::function<bool(QRgb)> counted)
{
    int count = 0;
    for (int row = 0; row < image.height(); ++row)
        for (int col = 0; col < image.width(); ++col)
            count += counted(image.pixel(col, row));
    return count;
}

inline int CountDifferences(const QImage& a, const QImage& b)
{
    int count = 0;
    for (int row = 0; row < a.height(); ++row)
        for (int col = 0; col < a.width(); ++col)
            count += a.pixel(col, row) != b.pixel(col, row);
    return count;
}

// On every turn of the event loop, hands a newly active modal widget to the action, which ends it.
class ModalCloser : public QObject {
public:
    explicit ModalCloser(std::function<void(QWidget&)> action) : m_action(std::move(action))
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != nullptr && modal != m_last && modal->isVisible())
                ++m_seen, m_action(*(m_last = modal));
        });
        m_timer.start(0);
    }
    int Seen() const { return m_seen; }

private:
    std::function<void(QWidget&)> m_action;
    QTimer            m_timer;
    QPointer<QWidget> m_last;
    int               m_seen = 0;
};

// The bytes of the file at path, or a marker that matches no file's content.
inline QByteArray Bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Opens the picture's menu with the right button at point, as the window system sends it (offscreen
// sends only the clicks), and hands the menu to act once it is up; returns when the menu has closed
// and what act started is done (a dialog it opens included).
inline void WithPictureMenu(CViewerDlg& dlg, QPoint point, const std::function<void(QMenu&)>& act)
{
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &dlg, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr || !menu->isVisible() || menu->actions().isEmpty())
            return;
        poll.stop();
        act(*menu);
    });
    poll.start(0);
    QContextMenuEvent rightButton(QContextMenuEvent::Mouse, point, dlg.mapToGlobal(point));
    QApplication::sendEvent(&dlg, &rightButton);
}

// Chooses the picture menu's command of that caption with the keyboard, as a user does.
inline void ChooseFromPictureMenu(CViewerDlg& dlg, const QString& caption)
{
    WithPictureMenu(dlg, {400, 200}, [&](QMenu& menu) {
        for (QAction* action : menu.actions())
            if (action->text() == caption)
                menu.setActiveAction(action);
        QTest::keyClick(&menu, Qt::Key_Return);
    });
}
