// The fields of a typed surface, their checks at the field, and the preview made off the GUI thread.
#include "ui/own_surface_dlg.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include "session/definition_rules.h"
#include "session/definition_text.h"
#include "session/equation_text.h"
#include "ui/equation_fields.h"
#include "surfaces/definitions_file.h"
#include "surfaces/expression.h"

namespace {

QLineEdit* Field(QWidget* parent, const char* name, const std::string& text)
{
    auto* field = new QLineEdit(QString::fromStdString(text), parent);
    field->setObjectName(QString::fromLatin1(name));
    return field;
}

QSpinBox* Count(QWidget* parent, const char* name, int low, int high, int value)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setRange(low, high);
    spin->setValue(std::clamp(value, low, high));
    return spin;
}

}   // namespace

COwnSurfaceDlg::COwnSurfaceDlg(const SurfaceDefinition& start, SaveFunction save, QWidget* parent)
    : QDialog(parent), m_save(std::move(save))
{
    setObjectName(QStringLiteral("IDD_OWN_SURFACE"));
    setWindowTitle(QString::fromUtf8("Superficie propia"));
    auto* form = new QFormLayout;
    m_caption = Field(this, "IDC_OWN_CAPTION", start.caption);
    form->addRow(QString::fromUtf8("&Nombre:"), m_caption);
    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("IDC_OWN_KIND"));
    m_kind->addItems({QString::fromUtf8("Fórmulas paramétricas x(u,v), y(u,v), z(u,v)"), QString::fromUtf8("Ecuación F(x,y,z) = G(x,y,z)")});
    form->addRow(QString::fromUtf8("&Tipo:"), m_kind);
    auto* formulasPage = new QWidget(this);
    auto* formulas = new QFormLayout(formulasPage);
    formulas->setContentsMargins(0, 0, 0, 0);
    const char* names[] = {"IDC_OWN_X", "IDC_OWN_Y", "IDC_OWN_Z"};
    const char* labels[] = {"&x(u,v) =", "&y(u,v) =", "&z(u,v) ="};
    for (int i = 0; i < 3; ++i) {
        m_xyz[i] = Field(this, names[i], start.xyz[static_cast<size_t>(i)]);
        m_xyz[i]->setMinimumWidth(320);
        formulas->addRow(QString::fromUtf8(labels[i]), m_xyz[i]);
    }
    auto axisRow = [&](const ParameterAxis& axis, const char* prefix, QLineEdit*& from, QLineEdit*& to, QSpinBox*& lines) {
        from = Field(this, (std::string(prefix) + "_FROM").c_str(), axis.from);
        to = Field(this, (std::string(prefix) + "_TO").c_str(), axis.to);
        lines = Count(this, (std::string(prefix) + "_LINES").c_str(), 1, kMaxLinesPerFamily, axis.lines);
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(QString::fromUtf8("desde"), this));
        row->addWidget(from);
        row->addWidget(new QLabel(QString::fromUtf8("hasta"), this));
        row->addWidget(to);
        row->addWidget(new QLabel(QString::fromUtf8("líneas"), this));
        row->addWidget(lines);
        return row;
    };
    formulas->addRow(QString::fromUtf8("u:"), axisRow(start.u, "IDC_OWN_U", m_uFrom, m_uTo, m_uLines));
    formulas->addRow(QString::fromUtf8("v:"), axisRow(start.v, "IDC_OWN_V", m_vFrom, m_vTo, m_vLines));
    m_samples = Count(this, "IDC_OWN_SAMPLES", 2, kMaxSamplesPerLine, start.samples);
    formulas->addRow(QString::fromUtf8("&Muestras por línea:"), m_samples);
    m_families = new QComboBox(this);
    m_families->setObjectName(QStringLiteral("IDC_OWN_FAMILIES"));
    m_families->addItem(QString::fromUtf8("líneas de u y de v constantes"), static_cast<int>(Families::UV));
    m_families->addItem(QString::fromUtf8("solo líneas de u constante"), static_cast<int>(Families::U));
    m_families->addItem(QString::fromUtf8("solo líneas de v constante"), static_cast<int>(Families::V));
    m_families->setCurrentIndex(std::max(0, m_families->findData(static_cast<int>(start.families))));
    formulas->addRow(QString::fromUtf8("&Familias:"), m_families);
    m_equation = new CEquationFields(start, this);
    m_kinds = new QStackedWidget(this);
    m_kinds->addWidget(formulasPage);
    m_kinds->addWidget(m_equation);
    m_kind->setCurrentIndex(start.equation.empty() ? 0 : 1);
    m_kinds->setCurrentIndex(m_kind->currentIndex());
    form->addRow(m_kinds);
    m_params = Field(this, "IDC_OWN_PARAMS", ParametersText(start.params));
    m_params->setPlaceholderText(QString::fromUtf8("por ejemplo: a=2, b=pi/a"));
    form->addRow(QString::fromUtf8("&Parámetros:"), m_params);
    m_lets = Field(this, "IDC_OWN_LETS", LetsText(start.lets));
    m_lets->setPlaceholderText(QString::fromUtf8("nombres intermedios, por ejemplo: r=sqrt(1-b^2); s=r*cos(u)"));
    form->addRow(QString::fromUtf8("&Let:"), m_lets);
    m_fit = new QCheckBox(QString::fromUtf8("&Escala automática (centrada y del tamaño de la esfera)"), this);
    m_fit->setObjectName(QStringLiteral("IDC_OWN_FIT"));
    m_fit->setChecked(start.fit);
    m_fitMode = new QComboBox(this);
    m_fitMode->setObjectName(QStringLiteral("IDC_OWN_FIT_MODE"));
    m_fitMode->addItem(QString::fromUtf8("la misma escala en los tres ejes"));
    m_fitMode->addItem(QString::fromUtf8("cada eje a la misma extensión (una gráfica plana llena un cubo)"));
    m_fitMode->setCurrentIndex(start.fitEachAxis ? 1 : 0);
    m_fitMode->setEnabled(start.fit);
    connect(m_fit, &QCheckBox::toggled, m_fitMode, &QWidget::setEnabled);
    form->addRow(m_fit);
    form->addRow(QString::fromUtf8("Escala:"), m_fitMode);

    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("IDC_OWN_PROBLEM"));
    m_problem->setWordWrap(true);
    m_problem->setTextFormat(Qt::PlainText);
    auto* help = new QLabel(QString::fromUtf8(
        "Use u, v (x, y, z en una ecuación), pi, e, + − * / ^, sin, cos, tan, atan2, sqrt, exp, ln, abs, hypot, mod, floor, ceil…\n"
        "El punto decimal es «.»; los extremos pueden ser fórmulas como 2*pi.\n"
        "Límites: %1 caracteres y %2 paréntesis anidados por fórmula; %3 parámetros; %4 millones de "
        "muestras en total, y %5 millones de caracteres (x, y, z juntos) por muestras.")
        .arg(kMaxFormulaLength).arg(kMaxFormulaNesting).arg(kMaxParameters).arg(kMaxSamplesInAll / 1000000)
        .arg(kMaxFormulaWork / 1000000), this);
    help->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* accept = buttons->addButton(QString::fromUtf8("Aceptar"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(QString::fromUtf8("Cancelar"), QDialogButtonBox::RejectRole);
    QPushButton* saveButton = buttons->addButton(QString::fromUtf8("&Guardar en mis superficies"), QDialogButtonBox::ActionRole);
    accept->setObjectName(QStringLiteral("IDOK"));
    cancel->setObjectName(QStringLiteral("IDCANCEL"));
    saveButton->setObjectName(QStringLiteral("IDC_OWN_SAVE"));
    accept->setDefault(true);
    connect(accept, &QPushButton::clicked, this, &COwnSurfaceDlg::OnAccept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(saveButton, &QPushButton::clicked, this, &COwnSurfaceDlg::OnSave);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(help);
    layout->addWidget(m_problem);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_pause.setSingleShot(true);
    m_pause.setInterval(kPreviewPauseMs);
    connect(&m_pause, &QTimer::timeout, this, &COwnSurfaceDlg::StartPreview);
    connect(&m_sampling, &QFutureWatcherBase::finished, this, &COwnSurfaceDlg::OnPreviewDone);
    for (QLineEdit* field : {m_xyz[0], m_xyz[1], m_xyz[2], m_uFrom, m_uTo, m_vFrom, m_vTo, m_params, m_lets})
        connect(field, &QLineEdit::textEdited, this, &COwnSurfaceDlg::OnEdited);
    for (QSpinBox* spin : {m_uLines, m_vLines, m_samples})
        connect(spin, &QSpinBox::valueChanged, this, &COwnSurfaceDlg::OnEdited);
    connect(m_families, &QComboBox::currentIndexChanged, this, &COwnSurfaceDlg::OnEdited);
    connect(m_fit, &QCheckBox::toggled, this, &COwnSurfaceDlg::OnEdited);
    connect(m_fitMode, &QComboBox::currentIndexChanged, this, &COwnSurfaceDlg::OnEdited);
    connect(m_equation, &CEquationFields::edited, this, &COwnSurfaceDlg::OnEdited);
    connect(m_kind, &QComboBox::currentIndexChanged, m_kinds, &QStackedWidget::setCurrentIndex);
    connect(m_kind, &QComboBox::currentIndexChanged, this, &COwnSurfaceDlg::OnEdited);
    m_pause.start();   // the starting definition is shown too
}

COwnSurfaceDlg::~COwnSurfaceDlg()
{
    if (m_cancel)
        m_cancel->store(true);
    m_sampling.waitForFinished();   // a cancelled sampling stops within one line
}

SurfaceDefinition COwnSurfaceDlg::Definition() const
{
    SurfaceDefinition def;
    DefinitionProblem ignored;
    Read(def, ignored);
    return def;
}

bool COwnSurfaceDlg::Read(SurfaceDefinition& def, DefinitionProblem& problem) const
{
    def.caption = m_caption->text().trimmed().toStdString();
    for (int i = 0; i < 3; ++i)
        def.xyz[static_cast<size_t>(i)] = m_xyz[i]->text().toStdString();
    def.u = {m_uFrom->text().trimmed().toStdString(), m_uTo->text().trimmed().toStdString(), m_uLines->value()};
    def.v = {m_vFrom->text().trimmed().toStdString(), m_vTo->text().trimmed().toStdString(), m_vLines->value()};
    def.samples = m_samples->value();
    def.families = static_cast<Families>(m_families->currentData().toInt());
    def.fit = m_fit->isChecked();
    def.fitEachAxis = def.fit && m_fitMode->currentIndex() == 1;
    def.lets = ReadLetsText(m_lets->text().toStdString());
    const EquationText equation = m_equation->Text();
    return ReadDefinitionTexts(m_params->text().toStdString(), IsEquation() ? &equation : nullptr, def, problem);
}

bool COwnSurfaceDlg::IsEquation() const
{
    return m_kind->currentIndex() == 1;
}

QString COwnSurfaceDlg::Problem() const
{
    return m_problem->text();
}

std::optional<SurfaceDefinition> COwnSurfaceDlg::CheckNow(DefinitionProblem& problem) const
{
    SurfaceDefinition definition;
    if (!Read(definition, problem) || !CheckDefinition(definition, problem))
        return std::nullopt;
    return definition;
}

void COwnSurfaceDlg::OnEdited()
{
    m_noPoints = false;
    m_acceptPending = false;   // "Aceptar" was for the fields as they were
    m_pause.start();
}

void COwnSurfaceDlg::StartPreview()
{
    if (m_sampling.isRunning()) {   // the running one is out of date: stop it and start again after
        m_cancel->store(true);
        m_again = true;
        return;
    }
    // A parameter that no formula uses yet is only a warning here: the preview draws without it.
    SurfaceDefinition typed;
    DefinitionProblem problem;
    const bool read = Read(typed, problem);
    PreviewDefinition preview = PreviewOf(std::move(typed));
    SurfaceDefinition& definition = preview.drawn;
    m_warning = QString::fromStdString(preview.warning);
    if (!read || !CheckDefinition(definition, problem)) {   // microseconds: at once
        ShowProblem(problem);
        return;
    }
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    m_sampling.setFuture(QtConcurrent::run([definition, cancel = m_cancel] {
        Sampled sampled;
        sampled.definition = definition;
        sampled.wire = BuildTypedSurface(definition, sampled.problem, cancel.get());
        return sampled;
    }));
}

void COwnSurfaceDlg::OnPreviewDone()
{
    if (m_again) {
        m_again = false;
        StartPreview();
        return;
    }
    Sampled sampled = m_sampling.result();
    if (!sampled.wire) {
        m_acceptPending = false;
        if (!sampled.problem.what.spanish.empty())
            ShowProblem(sampled.problem);
        m_noPoints = sampled.problem.field == DefinitionField::Whole && !sampled.problem.what.spanish.empty();
        return;
    }
    ClearProblem();
    if (!m_warning.isEmpty()) {
        m_problem->setStyleSheet(QStringLiteral("color: #8a5a00"));
        m_problem->setText(m_warning);
    }
    m_sampledDefinition = sampled.definition;
    m_sampledWire = std::make_shared<const Wireframe>(std::move(*sampled.wire));
    emit previewReady(m_sampledWire);
    if (m_acceptPending && SampledWireframe()) {
        m_acceptPending = false;
        accept();
    }
}

QWidget* COwnSurfaceDlg::FieldOf(DefinitionField field) const
{
    if (IsEquation() && m_equation->FieldOf(field))
        return m_equation->FieldOf(field);
    switch (field) {
    case DefinitionField::X: return m_xyz[0];
    case DefinitionField::Y: return m_xyz[1];
    case DefinitionField::Z: return m_xyz[2];
    case DefinitionField::UFrom: return m_uFrom;
    case DefinitionField::UTo: return m_uTo;
    case DefinitionField::ULines: return m_uLines;
    case DefinitionField::VFrom: return m_vFrom;
    case DefinitionField::VTo: return m_vTo;
    case DefinitionField::VLines: return m_vLines;
    case DefinitionField::Samples: return m_samples;
    case DefinitionField::Params: return m_params;
    case DefinitionField::Lets: return m_lets;
    case DefinitionField::Families: return m_families;
    case DefinitionField::Whole: case DefinitionField::Equation: case DefinitionField::Box: case DefinitionField::Grid:
    case DefinitionField::Planes: break;   // the equation's, above
    }
    return nullptr;
}

void COwnSurfaceDlg::ShowProblem(const DefinitionProblem& problem)
{
    ClearProblem();
    m_problem->setStyleSheet(QStringLiteral("color: #b00000"));
    m_problem->setText(QString::fromUtf8(FieldNameSpanish(problem.field)) + QStringLiteral(": ") +
                       QString::fromStdString(problem.what.spanish));
    m_badField = FieldOf(problem.field);
    if (m_badField) {
        m_badField->setStyleSheet(QStringLiteral("background: #ffe0e0"));
        m_badField->setToolTip(m_problem->text());   // the cursor stays: the user may be typing on
    }
}

void COwnSurfaceDlg::ClearProblem()
{
    m_problem->clear();
    if (m_badField) {
        m_badField->setStyleSheet(QString());
        m_badField->setToolTip(QString());
        m_badField = nullptr;
    }
}

void COwnSurfaceDlg::OnAccept()
{
    DefinitionProblem problem;
    if (!CheckNow(problem)) {
        ShowProblem(problem);
        return;
    }
    if (m_noPoints)
        return;   // the problem is shown: nothing would be drawn
    if (!SampledWireframe()) {
        // The fields are being sampled, or about to be: accept when that is done, off this thread.
        m_acceptPending = true;
        m_problem->setStyleSheet(QString());
        m_problem->setText(QString::fromUtf8("Calculando la superficie…"));
        if (!m_sampling.isRunning()) {
            m_pause.stop();
            StartPreview();
        }
        return;
    }
    accept();
}

std::shared_ptr<const Wireframe> COwnSurfaceDlg::SampledWireframe() const
{
    // Compared as the file would write them: one place says what a definition holds.
    if (!m_sampledWire || DefinitionsText({m_sampledDefinition}) != DefinitionsText({Definition()}))
        return nullptr;
    return m_sampledWire;
}

void COwnSurfaceDlg::OnSave()
{
    DefinitionProblem problem;
    const std::optional<SurfaceDefinition> definition = CheckNow(problem);
    if (!definition) {
        ShowProblem(problem);
        return;
    }
    m_problem->setStyleSheet(QStringLiteral("color: #b00000"));
    if (const std::string refused = SaveRefusal(*definition); !refused.empty()) {
        m_problem->setText(QString::fromStdString(refused));
        m_caption->setFocus();
        return;
    }
    QString error;
    if (!m_save(*definition, error)) {
        m_problem->setText(error);
        return;
    }
    ClearProblem();
    m_problem->setStyleSheet(QStringLiteral("color: #006000"));
    m_problem->setText(QString::fromUtf8("Guardada entre sus superficies."));
}
