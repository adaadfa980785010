// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QMainWindow>
#include <QMap>
#include <QPointer>

namespace wobblix::platform::qt {

// The form's window on Qt: fixed size, no Minimize or Maximize button, a menu bar and a client area.
// Closing it from the title bar ends the program as Unload does. Hidden and shown again, it gives the focus
// back to the control that had it, or to the first control in the tab order when none had.
class FormWidget final : public QMainWindow {
    Q_OBJECT
public:
    FormWidget();

    QWidget* clientArea() const { return m_client; }

    // Tab visits the controls by their tab indices and comes back to the first. The focus chain is
    // put in that order once, when the window is first shown.
    void setTabIndex(QWidget* control, int index);
    // The first control in the tab order that takes the focus now, or none.
    QWidget* firstInTabOrder() const;

    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* m_client = nullptr;
    void applyTabOrder();

    QMap<int, QPointer<QWidget>> m_tabOrder;
    bool m_tabOrderApplied = false;
    QPointer<QWidget> m_focusAtHide; // the control that had the focus when the window was last hidden
};

} // namespace wobblix::platform::qt
