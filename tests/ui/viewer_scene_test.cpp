// "Copiar enlace" and "Abrir enlace…" offscreen: a scene copied from one window opens in another
// (a fresh program) to the same pixels with its controls set, and a bad link changes nothing.
#include <cstring>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QInputDialog>
#include <QMessageBox>
#include <QSlider>
#include <QSpinBox>
#include <QTest>

#include "window_test_support.h"

class ViewerSceneTest : public QObject {
    Q_OBJECT

    // "Abrir enlace…" with text typed over what the dialog proposes, then Enter; a message box that
    // follows is closed and counted.
    int OpenLink(CViewerDlg& dlg, const QString& text)
    {
        int messages = 0;
        ModalCloser closer([&](QWidget& modal) {
            if (auto* ask = qobject_cast<QInputDialog*>(&modal)) {
                QCOMPARE(ask->objectName(), QStringLiteral("IDD_OPEN_LINK"));
                if (!text.isEmpty())
                    ask->setTextValue(text);
                QTest::keyClick(ask->focusWidget(), Qt::Key_Return);
            } else if (auto* box = qobject_cast<QMessageBox*>(&modal)) {
                ++messages;
                box->accept();
            }
        });
        ChooseFromPictureMenu(dlg, QString::fromUtf8("Abrir e&nlace…"));
        return messages;
    }

    // "Corte"'s plane y = c chosen by keys in the picture's menu, as a user does.
    static void ChooseSectionY(CViewerDlg& dlg)
    {
        WithPictureMenu(dlg, {400, 200}, [&](QMenu& menu) {
            for (QAction* action : menu.actions())
                if (action->menu() && action->menu()->objectName() == QLatin1String("IDC_SECTION_MENU"))
                    menu.setActiveAction(action);
            QTest::keyClick(&menu, Qt::Key_Right);
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Y);
        });
    }

private slots:
    void aCopiedLinkOpensInAnotherWindowToTheSamePixels()
    {
        CViewerDlg first;
        QVERIFY(ShowActive(first));
        ClickSurface(first, kTorus);
        QTest::mousePress(&first, Qt::LeftButton, {}, QPoint(300, 300));
        QTest::mouseMove(&first, QPoint(372, 251));
        QTest::mouseRelease(&first, Qt::LeftButton, {}, QPoint(372, 251));
        QTest::mouseClick(first.findChild<QCheckBox*>("IDC_VIEW_HIDDEN"), Qt::LeftButton);
        first.findChild<QSpinBox*>("IDC_VIEW_LINE_WIDTH")->setValue(3);
        ChooseSectionY(first);
        QTest::keyClick(first.findChild<QSlider*>("IDC_SECTION_SLIDER"), Qt::Key_PageUp);
        QApplication::clipboard()->clear();
        ChooseFromPictureMenu(first, QString::fromUtf8("Copiar en&lace"));
        const QString link = QApplication::clipboard()->text();
        QVERIFY2(link.startsWith(QStringLiteral("#v=1&s=toro&")), qPrintable(link));

        CViewerDlg second;   // a program of its own, as on another computer
        QVERIFY(ShowActive(second));
        QCOMPARE(OpenLink(second, QString()), 0);   // the dialog proposes the clipboard's link
        QVERIFY(second.findChild<QAbstractButton*>(kSurfaceButtons[kTorus - 1])->isChecked());
        QVERIFY(second.findChild<QCheckBox*>("IDC_VIEW_HIDDEN")->isChecked());
        QCOMPARE(second.findChild<QSpinBox*>("IDC_VIEW_LINE_WIDTH")->value(), 3);
        QVERIFY(second.findChild<QGroupBox*>("IDC_GROUP_SECTION")->isVisible());   // the link's plane, its slider shown
        QCOMPARE(second.findChild<QSlider*>("IDC_SECTION_SLIDER")->value(), kSectionSteps / 2 + kSectionSteps / 10);
        QCOMPARE(std::memcmp(&first.View().eye, &second.View().eye, sizeof(Vec3)), 0);
        QCOMPARE(CountDifferences(ShownFrame(first), ShownFrame(second)), 0);

        // A bad link is told, and the shown scene stays.
        const QImage before = ShownFrame(second);
        QCOMPARE(OpenLink(second, QStringLiteral("https://example.org/#v=1&s=toro&zoom=500")), 1);
        QCOMPARE(CountDifferences(before, ShownFrame(second)), 0);
    }
};

QTEST_MAIN(ViewerSceneTest)
#include "viewer_scene_test.moc"
