// The dialog "Superficie propia": formulas of u and v typed by the user, checked and previewed in
// the main square as they are typed, accepted, or saved among the user's surfaces.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include <QDialog>
#include <QFutureWatcher>
#include <QString>
#include <QTimer>

#include "surfaces/typed_surface.h"

class CEquationFields;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QStackedWidget;
class QWidget;

constexpr int kPreviewPauseMs = 300;   // typing pauses this long before the preview is made

class COwnSurfaceDlg : public QDialog {
    Q_OBJECT

public:
    // Saves a definition among the user's surfaces; false with a Spanish sentence in error.
    using SaveFunction = std::function<bool(const SurfaceDefinition&, QString& error)>;

    COwnSurfaceDlg(const SurfaceDefinition& start, SaveFunction save, QWidget* parent = nullptr);
    ~COwnSurfaceDlg() override;

    SurfaceDefinition Definition() const;   // as the fields say now, the parameters included
    QString Problem() const;                // the problem shown, empty when none
    // The preview's wireframe when it was sampled from the fields as they are now; else null.
    std::shared_ptr<const Wireframe> SampledWireframe() const;

signals:
    // A new preview, sampled off the window's thread; the window shows it in its square.
    void previewReady(std::shared_ptr<const Wireframe> wire);

private:
    struct Sampled {
        std::optional<Wireframe> wire;
        DefinitionProblem        problem;
        SurfaceDefinition        definition;
    };

    void OnEdited();
    void StartPreview();
    void OnPreviewDone();
    // The fields into def, as much as reads; false with the first problem of the typed lines.
    bool Read(SurfaceDefinition& def, DefinitionProblem& problem) const;
    // The fields as a definition that may be drawn; nothing, with the problem, when not.
    std::optional<SurfaceDefinition> CheckNow(DefinitionProblem& problem) const;
    void ShowProblem(const DefinitionProblem& problem);
    void ClearProblem();
    void OnAccept();
    void OnSave();
    QWidget* FieldOf(DefinitionField field) const;
    bool IsEquation() const;

    QLineEdit* m_caption = nullptr;
    QComboBox* m_kind = nullptr;      // IDC_OWN_KIND: formulas of u and v, or an equation
    QStackedWidget* m_kinds = nullptr;
    CEquationFields* m_equation = nullptr;
    QLineEdit* m_xyz[3] = {};
    QLineEdit* m_uFrom = nullptr;
    QLineEdit* m_uTo = nullptr;
    QLineEdit* m_vFrom = nullptr;
    QLineEdit* m_vTo = nullptr;
    QSpinBox*  m_uLines = nullptr;
    QSpinBox*  m_vLines = nullptr;
    QSpinBox*  m_samples = nullptr;
    QComboBox* m_families = nullptr;
    QLineEdit* m_params = nullptr;
    QLineEdit* m_lets = nullptr;      // "r=sqrt(1-b^2); s=r*cos(u)"
    QCheckBox* m_fit = nullptr;
    QComboBox* m_fitMode = nullptr;   // with the fit: the same scale for all axes, or each its own
    QString    m_warning;             // a parameter no formula uses: said, and left out of the preview
    QLabel*    m_problem = nullptr;   // IDC_OWN_PROBLEM: the field, what is wrong and where
    QWidget*   m_badField = nullptr;  // the field shown in red
    SaveFunction m_save;
    QTimer     m_pause;               // the pause after typing; restarted by every change
    QFutureWatcher<Sampled> m_sampling;
    std::shared_ptr<std::atomic<bool>> m_cancel;   // the running sampling's; set when superseded
    bool       m_again = false;       // the fields changed while a sampling ran
    bool       m_noPoints = false;    // the fields as they are give no finite point
    bool       m_acceptPending = false;   // "Aceptar" waits for the sampling of the fields as they are
    SurfaceDefinition                m_sampledDefinition;   // what the last preview was sampled from
    std::shared_ptr<const Wireframe> m_sampledWire;
};
