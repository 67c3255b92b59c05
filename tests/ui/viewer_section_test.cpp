// "Corte" in the window offscreen: the plane chosen in the picture's menu by keys, its slider
// shown right of the square and moved by keys, the section drawn over the frame, and off again.
#include <QAbstractButton>
#include <QGroupBox>
#include <QSlider>
#include <QTest>

#include "render/theme.h"
#include "session/view_session.h"
#include "window_test_support.h"

namespace {

// Chooses the "Corte" submenu's item whose mnemonic is key, by keys, as a user does.
void ChooseSection(CViewerDlg& dlg, Qt::Key key)
{
    WithPictureMenu(dlg, {400, 200}, [&](QMenu& menu) {
        for (QAction* action : menu.actions())
            if (action->menu() && action->menu()->objectName() == QLatin1String("IDC_SECTION_MENU"))
                menu.setActiveAction(action);
        QTest::keyClick(&menu, Qt::Key_Right);   // opens the submenu
        auto* sub = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(sub && sub != &menu);
        QTest::keyClick(sub, key);
    });
}

int Accent(const QImage& image)
{
    const Rgb a = InfoOf(Theme::Pantalla).accent;
    return CountPixels(image, [&](QRgb p) { return qRed(p) == a.r && qGreen(p) == a.g && qBlue(p) == a.b; });
}

}   // namespace

class ViewerSectionTest : public QObject {
    Q_OBJECT

private slots:
    void thePlaneComesFromTheMenuAndMovesUnderItsSlider()
    {
        CViewerDlg dlg;
        QVERIFY(ShowActive(dlg));
        ClickSurface(dlg, kSphere);
        const QImage plain = ShownFrame(dlg);
        auto* group = dlg.findChild<QGroupBox*>("IDC_GROUP_SECTION");
        auto* slider = dlg.findChild<QSlider*>("IDC_SECTION_SLIDER");
        QVERIFY(group && slider);
        QVERIFY(!group->isVisible());

        ChooseSection(dlg, Qt::Key_Z);
        QVERIFY(group->isVisible());
        // Beside the square, inside the window, over no other control shown (the bars' label's box,
        // taller than its letters, reaches the group's top row).
        QVERIFY(group->geometry().left() > kFrameRect.right() && QRect(QPoint(), dlg.size()).contains(group->geometry()));
        for (QWidget* other : dlg.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            QVERIFY2(other == group || !other->isVisible() || other->inherits("QLabel") || !other->geometry().intersects(group->geometry()),
                     qPrintable(other->objectName()));
        QCOMPARE(slider->value(), kSectionSteps / 2);
        const int equator = Accent(ShownFrame(dlg));
        QVERIFY2(equator > 300, qPrintable(QString::number(equator)));

        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_End);   // the top: the plane touches the pole
        QCOMPARE(slider->value(), kSectionSteps);
        QVERIFY(Accent(ShownFrame(dlg)) < 50);
        QTest::keyClick(slider, Qt::Key_PageDown);   // a tenth of the way down: a smaller circle
        QTest::keyClick(slider, Qt::Key_PageDown);
        QCOMPARE(slider->value(), kSectionSteps - kSectionSteps / 5);
        const int lower = Accent(ShownFrame(dlg));
        QVERIFY(lower > 100 && lower < equator);

        ChooseSection(dlg, Qt::Key_N);   // "Ninguno": the plain frame again, to the pixel
        QVERIFY(!group->isVisible());
        QCOMPARE(CountDifferences(ShownFrame(dlg), plain), 0);
    }
};

QTEST_MAIN(ViewerSectionTest)
#include "viewer_section_test.moc"
