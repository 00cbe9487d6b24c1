// SPDX-License-Identifier: MIT
// The File menu's side of the scene: a photo of the site imported and placed
// (by the world file beside it; without one, a pixel a unit until the user
// calibrates it by two points on the plot), a survey drawing imported as the case's tyre marks and scene lines,
// and the photo's opacity. Each is one step of Undo; a file that cannot be
// used is named in a message and leaves the case as it was.
#pragma once

#include "model/Units.h"

#include <QObject>
#include <QString>

#include <functional>

namespace yawmark {

class CaseDocument;
class Prompts;

class SceneImports : public QObject {
    Q_OBJECT
public:
    // `units` tells the units the window shows: a world file's are those.
    SceneImports(CaseDocument& document, const Prompts& prompts,
                 std::function<model::Units()> units, QObject* parent);

public slots:
    // File > Import Scene Image...: false where the case stays as it was.
    bool importSceneImage();
    // File > Import Survey (DXF)...
    bool importSurvey();
    // The opacity slider, 0 to 100 percent: steps of one drag are one step of Undo.
    void setOpacity(int percent);

signals:
    // Something for the status bar: what was imported.
    void note(const QString& text);
    // A photo came without a world file: it wants calibrating.
    void calibrationWanted();

private:
    bool refuse(const std::string& message) const;

    CaseDocument& document_;
    const Prompts& prompts_;
    std::function<model::Units()> units_;
};

} // namespace yawmark
