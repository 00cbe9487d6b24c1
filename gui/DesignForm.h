// SPDX-License-Identifier: MIT
// Builds the controls of a form at their design geometry. The forms were laid
// out in twips (1/1440 inch); on screen 15 twips make one device-independent
// pixel, and Qt scales that for high-DPI screens. Every control gets its name
// as objectName ("txtInput(5)" for member 5 of an array), a fixed size and no
// layout: positions are part of the design.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace yawmark {

class DesignForm {
public:
    // Twips per device-independent pixel.
    static constexpr int kTwipsPerPixel = 15;

    // Twips to pixels, rounded to the nearest pixel.
    static constexpr int px(int twips) {
        return (twips + (twips >= 0 ? kTwipsPerPixel / 2 : -kTwipsPerPixel / 2)) / kTwipsPerPixel;
    }
    // A design rectangle (Left, Top, Width, Height in twips) in pixels.
    static constexpr QRect rect(int left, int top, int width, int height) {
        return {px(left), px(top), px(width), px(height)};
    }

    // Name of a member of a control array: "txtInput(5)".
    static QString arrayName(const char* name, int index);

    // The font of every form: narrow enough that each caption fits the box it
    // was designed for, tall enough to read.
    static QFont font();
    // The bold font of the "+" and "-" marks beside the zoom bars.
    static QFont markFont();

    // The builder puts controls on `parent`.
    explicit DesignForm(QWidget* parent) : parent_(parent) {}

    // Label options: right-aligned or centred text, word wrap, and auto-size
    // (a wrapped label widens to its longest word). Every label grows to show
    // its whole caption, keeping its right edge when right-aligned, its centre
    // when centred, else its left edge.
    enum LabelFlag { Plain = 0, Right = 1, Wrap = 2, AutoSize = 4, Centre = 8 };

    QLabel* label(const QString& name, QRect geometry, const QString& caption, int flags = Plain);
    QLineEdit* textBox(const QString& name, QRect geometry, const QString& text);
    QCheckBox* checkBox(const QString& name, QRect geometry, const QString& caption, bool checked);
    QPushButton* button(const QString& name, QRect geometry, const QString& caption);
    // A frame without caption: an etched border on an opaque background.
    QGroupBox* frame(const QString& name, QRect geometry);

private:
    QWidget* parent_;
};

} // namespace yawmark
