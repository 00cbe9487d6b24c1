// SPDX-License-Identifier: MIT
#include "gui/SpreadDialog.h"

#include "gui/CaseDocument.h"
#include "gui/DesignForm.h"
#include "model/BoxUnits.h"
#include "sim/NumberText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace yawmark {

namespace {

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString number(double v) {
    return QString::fromStdString(formatNumber(v));
}

constexpr const char* kShapeNames[] = {"normal", "uniform", "triangular"};

// What each field holds, by shape.
const QStringList kFieldNames[] = {
    {QStringLiteral("&Mean:"), QStringLiteral("&SD:")},
    {QStringLiteral("&Low:"), QStringLiteral("&High:")},
    {QStringLiteral("&Low:"), QStringLiteral("&Mode:"), QStringLiteral("&High:")}};

} // namespace

QString spreadDescription(const model::Spread& s) {
    switch (s.shape) {
    case model::Shape::Normal:
        return QStringLiteral("normal: mean %1, σ %2").arg(number(s.a), number(s.b));
    case model::Shape::Uniform:
        return QStringLiteral("uniform: %1 to %2").arg(number(s.a), number(s.b));
    case model::Shape::Triangular:
        return QStringLiteral("triangular: %1 to %2, mode %3")
            .arg(number(s.a), number(s.c), number(s.b));
    }
    return {};
}

SpreadDialog* SpreadDialog::edit(QWidget* parent, CaseDocument& document, int box) {
    auto* d = new SpreadDialog(parent, document, box);
    d->open();
    return d;
}

SpreadDialog::SpreadDialog(QWidget* parent, CaseDocument& document, int box)
    : QDialog(parent), document_(document), box_(box) {
    setObjectName(QStringLiteral("dlgSpread"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(DesignForm::font());
    const io::CaseFile& file = document_.file();
    const QString caption = qs(model::boxInfo(box, file.form).caption);
    setWindowTitle(QStringLiteral("Spread of %1").arg(caption));
    const auto read = model::readBoxValue(box, file.texts.text.at(box), file.form);
    if (const double* v = std::get_if<double>(&read); v && std::isfinite(*v)) value_ = *v;

    shape_ = new QComboBox(this);
    shape_->setObjectName(QStringLiteral("cboShape"));
    for (const char* name : kShapeNames)
        shape_->addItem(QLatin1String(name));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Shape:"), shape_);
    for (int i = 0; i < 3; ++i) {
        fields_[i] = new QLineEdit(this);
        fields_[i]->setObjectName(QStringLiteral("txtSpread%1").arg(i));
        labels_[i] = new QLabel(this);
        labels_[i]->setBuddy(fields_[i]);
        form->addRow(labels_[i], fields_[i]);
    }
    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("lblSpreadProblem"));
    problem_->setWordWrap(true);
    auto* note = new QLabel(
        QStringLiteral("In the box's own unit; the box now holds %1.").arg(number(value_)), this);
    note->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* clear =
        buttons->addButton(QStringLiteral("C&lear Spread"), QDialogButtonBox::ResetRole);
    clear->setObjectName(QStringLiteral("cmdClearSpread"));
    clear->setEnabled(file.spreads.at(box).has_value());
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdSpreadOK"));
    auto* all = new QVBoxLayout(this);
    all->addWidget(new QLabel(caption, this));
    all->addLayout(form);
    all->addWidget(note);
    all->addWidget(problem_);
    all->addWidget(buttons);
    setMinimumWidth(360);

    connect(buttons, &QDialogButtonBox::accepted, this, &SpreadDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SpreadDialog::reject);
    connect(clear, &QPushButton::clicked, this, &SpreadDialog::clearSpread);
    connect(shape_, &QComboBox::currentIndexChanged, this, &SpreadDialog::fillDefaults);
    if (const auto& s = file.spreads.at(box)) {
        QSignalBlocker quiet(shape_);
        shape_->setCurrentIndex(static_cast<int>(s->shape));
        fillDefaults();
        const double values[] = {s->a, s->b, s->c};
        for (int i = 0; i < 3; ++i)
            fields_[i]->setText(number(values[i]));
    } else {
        fillDefaults();
    }
}

void SpreadDialog::fillDefaults() {
    const int shape = std::clamp(shape_->currentIndex(), 0, 2);
    // A few percent of the value either way: a start to be typed over.
    const double v = value_;
    double d = v != 0 ? std::abs(v) * 0.05 : 1.0;
    if (const double digit = std::pow(10.0, std::floor(std::log10(d)) - 1);
        std::isfinite(digit) && digit > 0)
        d = std::round(d / digit) * digit; // two digits: 0.045, not 0.0448028673835126

    const double values[3][3] = {{v, d, 0}, {v - 2 * d, v + 2 * d, 0}, {v - 2 * d, v, v + 2 * d}};
    for (int i = 0; i < 3; ++i) {
        const bool used = i < kFieldNames[shape].size();
        labels_[i]->setText(used ? kFieldNames[shape][i] : QString());
        labels_[i]->setVisible(used);
        fields_[i]->setVisible(used);
        fields_[i]->setText(used ? number(values[shape][i]) : QString());
    }
    problem_->clear();
}

void SpreadDialog::accept() {
    const int shape = std::clamp(shape_->currentIndex(), 0, 2);
    QStringList values;
    for (int i = 0; i < kFieldNames[shape].size(); ++i)
        values << fields_[i]->text().trimmed();
    // The text a case file holds, read as the file is: one set of refusals.
    const QString text =
        QLatin1String(kShapeNames[shape]) + QLatin1Char(':') + values.join(QLatin1Char(','));
    const auto parsed = model::parseSpread(text.toStdString());
    const model::InertiaForm form = document_.file().form;
    if (const auto* why = std::get_if<std::string>(&parsed)) {
        return refuse(
            QStringLiteral("\"%1\": %2.").arg(qs(model::boxInfo(box_, form).caption), qs(*why)));
    }
    const model::Spread& spread = std::get<model::Spread>(parsed);
    if (const auto problem = model::checkSpread(box_, spread)) {
        return refuse(QString::fromStdString(model::boxMessage(*problem, form)));
    }
    document_.setSpread(box_, spread);
    QDialog::accept();
}

void SpreadDialog::refuse(const QString& text) {
    problem_->setText(text);
    adjustSize(); // grown to show the message whole
}

void SpreadDialog::clearSpread() {
    document_.setSpread(box_, std::nullopt);
    QDialog::accept();
}

} // namespace yawmark
