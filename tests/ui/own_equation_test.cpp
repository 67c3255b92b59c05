// "Superficie propia" with "Ecuación" offscreen: the equation's fields found by name, the session's
// messages at them, the preview, the surface saved in superficies.toml, shown, and opened again.
#include <array>

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "geometry/view_changes.h"
#include "surfaces/definitions_file.h"
#include "ui/own_surface_dlg.h"
#include "window_test_support.h"

class OwnEquationTest : public QObject {
    Q_OBJECT

    QTemporaryDir data;

private slots:
    void initTestCase()
    {
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        QCoreApplication::setApplicationName(QStringLiteral("Vexilon"));
    }

    void anEquationIsCheckedAtItsFieldsPreviewedSavedShownAndOpenedAgain()
    {
        CViewerDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QTest::mouseClick(dlg.findChild<QRadioButton*>("IDC_SURFACE_TORUS"), Qt::LeftButton);
        const QImage torus = ShownFrame(dlg);
        {   // a closer of its own scope: it would act on the next dialog too
            ModalCloser closer([&](QWidget& modal) {
                auto* problem = modal.findChild<QLabel*>("IDC_OWN_PROBLEM");
                auto* kind = modal.findChild<QComboBox*>("IDC_OWN_KIND");
                auto* equation = modal.findChild<QLineEdit*>("IDC_OWN_EQUATION");
                auto* box = modal.findChild<QLineEdit*>("IDC_OWN_BOX");
                auto* families = modal.findChild<QLineEdit*>("IDC_OWN_PLANE_FAMILIES");
                kind->setFocus();
                QTest::keyClick(kind, Qt::Key_Down);
                QCOMPARE(kind->currentIndex(), 1);
                QVERIFY(equation->isVisible() && !modal.findChild<QLineEdit*>("IDC_OWN_X")->isVisible());
                // The example sphere is previewed.
                QTRY_VERIFY(dlg.View().surface == -1 && CountDifferences(ShownFrame(dlg), torus) > 0);
                QCOMPARE(problem->text(), QString());
                const QImage sphere = ShownFrame(dlg);
                Retype(equation, QStringLiteral("x^2 + y^2 = u"));
                QTRY_COMPARE(problem->text(), QString::fromUtf8("ecuación: «u» no es una variable de una ecuación; se aceptan x, y, z, los parámetros y los let"));
                QCOMPARE(equation->toolTip(), problem->text());
                Retype(equation, QStringLiteral("x^2 + y^2 + z^2 = a"));
                Retype(modal.findChild<QLineEdit*>("IDC_OWN_PARAMS"), QStringLiteral("a=[0.5, 3, 2]"));
                Retype(box, QStringLiteral("-2, 2, 1, -1, -2, 2"));
                QTRY_VERIFY(problem->text().startsWith(QString::fromUtf8("caja: el intervalo de y de la caja 1,-1 está vacío")));
                QVERIFY(!box->styleSheet().isEmpty());
                Retype(box, QStringLiteral("-2, 2, -2, 2, -2*1, 2"));
                Retype(families, QStringLiteral("zu"));
                QTRY_VERIFY(problem->text().startsWith(QString::fromUtf8("familias: una ecuación se dibuja por sus cortes")));
                QVERIFY(!families->styleSheet().isEmpty());
                Retype(families, QStringLiteral("z"));
                auto* planes = modal.findChild<QSpinBox*>("IDC_OWN_PLANES");
                planes->setFocus();
                QTest::keyClick(planes, Qt::Key_Down);   // 11 planes
                QTRY_VERIFY(problem->text().isEmpty() && CountDifferences(ShownFrame(dlg), sphere) > 0);
                Retype(modal.findChild<QLineEdit*>("IDC_OWN_CAPTION"), QStringLiteral("Esfera de nivel"));
                QTest::mouseClick(modal.findChild<QPushButton*>("IDC_OWN_SAVE"), Qt::LeftButton);
                QCOMPARE(problem->text(), QString::fromUtf8("Guardada entre sus superficies."));
                QTest::mouseClick(modal.findChild<QPushButton*>("IDOK"), Qt::LeftButton);
            });
            QTest::mouseClick(dlg.findChild<QPushButton*>("IDC_DEFINE_BUTTON"), Qt::LeftButton);
            QCOMPARE(closer.Seen(), 1);
        }
        const DefinitionsRead read = ReadDefinitionsFile(QDir(data.path()).filePath(QStringLiteral("Vexilon/superficies.toml")).toStdString());
        QVERIFY(read.problems.empty());
        QCOMPARE(read.surfaces.size(), size_t{1});
        const SurfaceDefinition& saved = read.surfaces[0];
        QCOMPARE(saved.equation, std::string("x^2 + y^2 + z^2 = a"));
        QCOMPARE(saved.sections, std::string("z"));
        QCOMPARE(saved.planes, 11);
        QVERIFY(saved.box == (std::array<double, 6>{-2, 2, -2, 2, -2, 2}));
        QCOMPARE(saved.ranges.size(), size_t{1});
        // Shown as the registry draws the saved surface, which the command line draws too.
        ViewState view;
        ResetViewState(view);
        view.surface = dlg.View().surface;
        QVERIFY(view.surface > kBuiltinSurfaceCount);
        QCOMPARE(CountDifferences(ShownFrame(dlg), FrameOf(view, &dlg.Surfaces())), 0);
        // "Definir…" again starts from the shown equation.
        ModalCloser again([&](QWidget& modal) {
            QCOMPARE(modal.findChild<QComboBox*>("IDC_OWN_KIND")->currentIndex(), 1);
            QCOMPARE(modal.findChild<QLineEdit*>("IDC_OWN_EQUATION")->text(), QStringLiteral("x^2 + y^2 + z^2 = a"));
            QCOMPARE(modal.findChild<QLineEdit*>("IDC_OWN_BOX")->text(), QStringLiteral("-2, 2, -2, 2, -2, 2"));
            QCOMPARE(modal.findChild<QSpinBox*>("IDC_OWN_PLANES")->value(), 11);
            QTest::mouseClick(modal.findChild<QPushButton*>("IDCANCEL"), Qt::LeftButton);
        });
        QTest::mouseClick(dlg.findChild<QPushButton*>("IDC_DEFINE_BUTTON"), Qt::LeftButton);
        QCOMPARE(again.Seen(), 1);
    }
};

QTEST_MAIN(OwnEquationTest)
#include "own_equation_test.moc"
