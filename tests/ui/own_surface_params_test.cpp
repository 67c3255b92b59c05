// "Superficie propia" with the lessons' additions: a parameter no formula uses is a warning and the
// preview still draws; the fit may bring each axis to the same extent.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
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

    void typedParametersArePreviewedAndTheirProblemIsShown()
    {
        SurfaceDefinition start = Start();
        start.xyz[2] = "k*v";   // both parameters used: no warning stands for a problem
        COwnSurfaceDlg dlg(start, [](const SurfaceDefinition&, QString&) { return true; });
        auto* params = dlg.findChild<QLineEdit*>("IDC_OWN_PARAMS");
        QSignalSpy previews(&dlg, &COwnSurfaceDlg::previewReady);
        QTRY_COMPARE(previews.count(), 1);
        params->selectAll();
        QTest::keyClicks(params, QStringLiteral("a=2*pi/pi, k=max(1, 3)-a"));
        QTRY_COMPARE(previews.count(), 2);
        QCOMPARE(dlg.Problem(), QString());
        const std::vector<NamedValue> read = dlg.Definition().params;
        QCOMPARE(read.size(), size_t{2});
        QCOMPARE(read[0].second, 2.0);
        QCOMPARE(read[1].second, 1.0);
        // The session's reading tells what is wrong; the dialog shows it.
        params->selectAll();
        QTest::keyClicks(params, QStringLiteral("a=1, k=w"));
        QTRY_VERIFY2(dlg.Problem().contains(QString::fromUtf8("«k»: nombre o símbolo desconocido «w»")), qPrintable(dlg.Problem()));
    }

    void letsAreTypedInTheirFieldAndACircleIsShownThere()
    {
        SurfaceDefinition start = Start();
        start.params = {{"a", 1.0}};
        start.lets = {{"r", "a*cos(u)"}};
        start.xyz[0] = "r";
        COwnSurfaceDlg dlg(start, [](const SurfaceDefinition&, QString&) { return true; });
        auto* lets = dlg.findChild<QLineEdit*>("IDC_OWN_LETS");
        QCOMPARE(lets->text(), QStringLiteral("r=a*cos(u)"));
        QSignalSpy previews(&dlg, &COwnSurfaceDlg::previewReady);
        QTRY_COMPARE(previews.count(), 1);
        QCOMPARE(dlg.Problem(), QString());
        lets->selectAll();
        QTest::keyClicks(lets, QStringLiteral("r=s*2; s=sqrt(r)"));
        QTRY_VERIFY(dlg.Problem().contains(QString::fromUtf8("en círculo")));
        QCOMPARE(dlg.Definition().lets.size(), size_t{2});
        QCOMPARE(dlg.Definition().lets[1].text, std::string("sqrt(r)"));
    }
};

QTEST_MAIN(OwnSurfaceParamsTest)
#include "own_surface_params_test.moc"
