// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/runtime/StartUpObject.h"

#include <QMainWindow>
#include <QPointer>

namespace wobblix::platform {

// A fixed-size top-level window with a menu bar and a client area laid out in twips. It has no Minimize
// or Maximize button; the title bar's close button unloads it like Unload(), and the program ends when
// it is unloaded, whether shown or hidden. Hidden and shown again, it gives the focus back to the control
// that had it, or to the start control when none had, as a window given the focus does on the desktop.
class Form : public QMainWindow, public StartUpObject {
    Q_OBJECT
public:
    explicit Form(QWidget* parent = nullptr);

    // Start-up: raises Load, then shows the window centred on the screen and gives the focus to the
    // control set by setStartFocus().
    void startUp() override;

    // Unloads the window; with no window left the program ends with status 0.
    void Unload();

    // The client area, below the menu bar, that holds the controls.
    QWidget* clientArea() const { return m_client; }

    // Shows or hides the window; shown again, the focus goes where it was (see above).
    void setVisible(bool visible) override;

protected:
    // The Load event, raised by startUp() before the window is shown.
    virtual void Load() {}

    void setClientSize(int widthTwips, int heightTwips);
    void setBackColor(const QColor& colour);
    void setStartFocus(QWidget* control) { m_startFocus = control; }
    // Places a control of the client area at a position and size in twips.
    void place(QWidget* control, int leftTwips, int topTwips, int widthTwips, int heightTwips) const;

    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* m_client = nullptr;
    QWidget* m_startFocus = nullptr;
    QPointer<QWidget> m_focusAtHide; // the control that had the focus when the window was last hidden
};

} // namespace wobblix::platform
