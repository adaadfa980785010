// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The start-up yardstick: an empty main window with a menu bar of two menus, shown centred. What the clock
// costs to start beyond this is its own.

#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Empty"));
    QMenu* options = window.menuBar()->addMenu(QStringLiteral("Options"));
    options->addAction(QStringLiteral("Hide"));
    options->addSeparator();
    options->addAction(QStringLiteral("Exit"));
    window.menuBar()->addMenu(QStringLiteral("Help"))->addAction(QStringLiteral("About.."));
    window.setCentralWidget(new QWidget(&window));
    window.resize(377, 300);
    window.show();
    return app.exec();
}
