// "Superficie propia" with the lessons' additions: a parameter no formula uses is a warning and the
// preview still draws; the fit may bring each axis to the same extent.
#include <QCheckBox>
#include <QComboBox>
#include <QSignalSpy>
#include <QTest>

#include "ui/own_surface_dlg.h"

class OwnSurfaceParamsTest : public QObject {
    Q_OBJECT

    static SurfaceDefinition Start()
    {
        SurfaceDefinition def;
        def.caption = "Prueba";
        def.xyz = {"a*cos(u)", "sin(u)", "v"};
        def.u = {"0", "2*pi", 13};
        def.v = {"0", "1", 5};
        def.params = {{"a", 1.0}, {"k", 2.0}};
        return def;
    }

private slots:
    void anUnusedParameterWarnsAndThePreviewDraws()
    {
        COwnSurfaceDlg dlg(Start(), [](const SurfaceDefinition&, QString&) { return true; });
        QSignalSpy previews(&dlg, &COwnSurfaceDlg::previewReady);
        QTRY_COMPARE(previews.count(), 1);
        QCOMPARE(dlg.Problem(), QString::fromUtf8("Aviso: ninguna fórmula usa el parámetro «k»."));
        const auto wire = previews.at(0).at(0).value<std::shared_ptr<const Wireframe>>();
        QVERIFY(wire && wire->Size() > 0);
    }

    void theFitModeChoosesEachAxisOnlyWithTheFit()
    {
        COwnSurfaceDlg dlg(Start(), [](const SurfaceDefinition&, QString&) { return true; });
        auto* fit = dlg.findChild<QCheckBox*>("IDC_OWN_FIT");
        auto* mode = dlg.findChild<QComboBox*>("IDC_OWN_FIT_MODE");
        QVERIFY(!dlg.Definition().fitEachAxis);
        mode->setCurrentIndex(1);
        QVERIFY(dlg.Definition().fitEachAxis);
        QTest::mouseClick(fit, Qt::LeftButton, {}, QPoint(5, fit->height() / 2));
        QVERIFY(!fit->isChecked());
        QVERIFY(!mode->isEnabled());
        QVERIFY(!dlg.Definition().fit && !dlg.Definition().fitEachAxis);
    }
};

QTEST_MAIN(OwnSurfaceParamsTest)
#include "own_surface_params_test.moc"
