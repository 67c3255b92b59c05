// The recorded script played on the window with real events: the view it ends on, to the bit.
#include <QAbstractButton>
#include <QComboBox>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "recorded_view.h"
#include "window_test_support.h"

namespace {

constexpr QPoint kDragStart(420, 260);

QStyle::SubControl BarPart(ScriptStep step, int value)
{
    if (step == ScriptStep::ZoomArrow || step == ScriptStep::DistanceArrow)
        return value < 0 ? QStyle::SC_ScrollBarSubLine : QStyle::SC_ScrollBarAddLine;
    return value < 0 ? QStyle::SC_ScrollBarSubPage : QStyle::SC_ScrollBarAddPage;
}

Qt::Key ArrowKeyOf(const std::vector<int>& travel)
{
    if (travel[0] != 0)
        return travel[0] < 0 ? Qt::Key_Left : Qt::Key_Right;
    return travel[1] < 0 ? Qt::Key_Up : Qt::Key_Down;
}

void Play(CViewerDlg& dlg, const ScriptEntry& entry)
{
    QWidget* square = dlg.findChild<QWidget*>("IDC_FRAME_SQUARE");
    auto key = [](Qt::Key k, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), k, modifiers);
    };
    switch (entry.step) {
    case ScriptStep::Surface:
        if (entry.value <= kBuiltinSurfaceCount) {
            ClickSurface(dlg, entry.value);
        } else {
            auto* list = dlg.findChild<QComboBox*>("IDC_SURFACE_LIST");
            list->setCurrentIndex(list->findData(entry.value));
            QTest::mouseClick(dlg.findChild<QAbstractButton*>("IDC_OTHER_SURFACE"), Qt::LeftButton);
        }
        break;
    case ScriptStep::Drag: {
        QPoint at = kDragStart;
        QTest::mousePress(&dlg, Qt::LeftButton, {}, at);
        for (size_t i = 0; i + 1 < entry.travel.size(); i += 2)
            QTest::mouseMove(&dlg, at += QPoint(entry.travel[i], entry.travel[i + 1]));
        QTest::mouseRelease(&dlg, Qt::LeftButton, {}, at);
        break;
    }
    case ScriptStep::ZoomArrow:
    case ScriptStep::ZoomPage:
    case ScriptStep::DistanceArrow:
    case ScriptStep::DistancePage: {
        const bool zoom = entry.step == ScriptStep::ZoomArrow || entry.step == ScriptStep::ZoomPage;
        QScrollBar& bar = *dlg.findChild<QScrollBar*>(zoom ? "IDC_SCROLL_ZOOM" : "IDC_SCROLL_DISTANCE");
        QTest::mouseClick(&bar, Qt::LeftButton, {}, PartOf(bar, BarPart(entry.step, entry.value)));
        break;
    }
    case ScriptStep::Wheel: {
        const QPointF at(250, 250);
        QWheelEvent wheel(at, square->mapToGlobal(at), {}, {0, entry.value}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(square, &wheel);
        break;
    }
    case ScriptStep::ArrowKey:
        square->setFocus();
        key(ArrowKeyOf(entry.travel));
        break;
    case ScriptStep::CtrlArrowKey: key(ArrowKeyOf(entry.travel), Qt::ControlModifier); break;
    case ScriptStep::PageKey: key(entry.value < 0 ? Qt::Key_PageUp : Qt::Key_PageDown); break;
    case ScriptStep::ZoomKey: key(entry.value < 0 ? Qt::Key_Plus : Qt::Key_Minus); break;
    case ScriptStep::HomeKey: key(Qt::Key_Home); break;
    }
}

}   // namespace

class ViewerScriptTest : public QObject {
    Q_OBJECT

private slots:
    void theScriptEndsOnTheRecordedViewToTheBit()
    {
        CViewerDlg dlg;
        QVERIFY(ShowActive(dlg));
        for (const ScriptEntry& entry : kViewScript)
            Play(dlg, entry);
        std::string differences;
        QVERIFY2(MatchesRecording(dlg.View(), differences), differences.c_str());
        QCOMPARE(dlg.FramesRendered(), kRecordedFrames);
        // The bars show the record: the script would not hold them otherwise.
        QCOMPARE(dlg.findChild<QScrollBar*>("IDC_SCROLL_ZOOM")->value(), 100 - BarPosition(dlg.View().zoom));
        QCOMPARE(CountDifferences(ShownFrame(dlg), FrameOf(dlg.View())), 0);
    }
};

QTEST_MAIN(ViewerScriptTest)
#include "viewer_script_test.moc"
