// SPDX-License-Identifier: MIT
// The parameter panel's own vehicles: kept in a file beside the built-in ones
// in the vehicle list, saved from boxes 0 to 4 under a name, removed.
#include "gui/ParameterPanel.h"

#include "model/Case.h"

#include <QComboBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QSignalBlocker>

namespace yawmark {

using model::kVehicleNames;

namespace {

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void ParameterPanel::setVehiclesFile(const QString& path) {
    vehiclesPath_ = path;
    auto read = io::loadVehicles(path);
    if (auto* message = std::get_if<std::string>(&read)) {
        showMessage(QString::fromStdString(*message));
        userVehicles_.clear();
    } else {
        userVehicles_ = std::get<std::vector<io::UserVehicle>>(read);
    }
    fillVehicleList();
}

void ParameterPanel::fillVehicleList() {
    const QString shown = comVehicle_->currentText();
    const QSignalBlocker quiet(comVehicle_);
    while (comVehicle_->count() > static_cast<int>(kVehicleNames.size()))
        comVehicle_->removeItem(comVehicle_->count() - 1);
    for (const io::UserVehicle& v : userVehicles_)
        comVehicle_->addItem(QString::fromStdString(v.name));
    comVehicle_->setCurrentIndex(comVehicle_->findText(shown));
    comVehicle_->setEditText(shown);
}

const io::UserVehicle* ParameterPanel::userVehicle(const QString& name) const {
    for (const io::UserVehicle& v : userVehicles_)
        if (QString::fromStdString(v.name) == name) return &v;
    return nullptr;
}

bool ParameterPanel::keepVehicles(std::vector<io::UserVehicle> list) {
    if (vehiclesPath_.isEmpty()) {
        showMessage(QStringLiteral("There is no folder to keep your vehicles in."));
        return false;
    }
    if (auto message = io::saveVehicles(vehiclesPath_, list)) {
        showMessage(QString::fromStdString(*message));
        return false;
    }
    userVehicles_ = std::move(list);
    fillVehicleList();
    return true;
}

void ParameterPanel::saveVehicle() {
    const QString suggestion = comVehicle_->currentText();
    const QString name =
        (nameHook_ ? nameHook_(suggestion)
                   : QInputDialog::getText(this, QStringLiteral("Save Vehicle"),
                                           QStringLiteral("Keep boxes 0 to 4 as the vehicle:"),
                                           QLineEdit::Normal, suggestion))
            .trimmed();
    if (name.isEmpty()) return;
    for (std::string_view builtIn : kVehicleNames)
        if (name == qs(builtIn)) {
            showMessage(QStringLiteral("\"%1\" is one of the program's own vehicles; choose "
                                       "another name.")
                            .arg(name));
            return;
        }
    io::UserVehicle mine{name.toStdString(), {}};
    for (int i = 0; i < io::kVehicleBoxCount; ++i)
        mine.texts[i] = txtInput_[i]->text().toStdString();
    std::vector<io::UserVehicle> list = userVehicles_;
    std::erase_if(list, [&](const io::UserVehicle& v) { return v.name == mine.name; });
    list.push_back(mine);
    if (!keepVehicles(std::move(list))) return;
    comVehicle_->setCurrentIndex(comVehicle_->findText(name));
    emit changed(QStringLiteral("Save Vehicle"));
}

void ParameterPanel::removeVehicle() {
    const QString name = comVehicle_->currentText();
    if (!userVehicle(name)) {
        showMessage(QStringLiteral("Choose one of your own vehicles in the list to remove it."));
        return;
    }
    std::vector<io::UserVehicle> list = userVehicles_;
    std::erase_if(list, [&](const io::UserVehicle& v) { return v.name == name.toStdString(); });
    if (keepVehicles(std::move(list))) {
        comVehicle_->setCurrentIndex(0);
        comVehicle_->setEditText(qs(kVehicleNames[0]));
        emit changed(QStringLiteral("Remove Vehicle"));
    }
}

} // namespace yawmark
