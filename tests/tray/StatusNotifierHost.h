// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

// The test session's StatusNotifierItem host, read and driven from outside with gdbus, as a panel does:
// the watcher's register of items, and each item's properties and methods.
namespace wobblix::test {

// The items the watcher holds (the bus names they were registered under).
QStringList registeredItems();
// Whether the watcher says a host shows its items.
bool hostRegistered();

// The title of the item's tool tip.
QString itemToolTip(const QString& item);
// The item's images (IconPixmap), one per size it offers.
QList<QImage> itemImages(const QString& item);
// Calls one of the item's methods (Activate, SecondaryActivate, ContextMenu, Scroll) with the arguments
// as gdbus takes them; false when the call failed.
bool callItem(const QString& item, const QString& method, const QStringList& arguments);

} // namespace wobblix::test
