// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/desktop/ApplicationService.h"

#ifdef WOBBLIX_SESSION_BUS
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusReply>
#endif

namespace wobblix::platform {

#ifdef WOBBLIX_SESSION_BUS
namespace {

// The object that serves the name, at the path freedesktop's applications derive from it.
const QString ObjectPath = QStringLiteral("/io/github/wobblix/WobblixClock");
const QString Interface = QStringLiteral("org.freedesktop.Application");

// org.freedesktop.Application on the bus, passed on to the service's own signal.
class ApplicationAdaptor final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
public:
    explicit ApplicationAdaptor(ApplicationService* service)
        : QDBusAbstractAdaptor(service), m_service(service)
    {
    }

public Q_SLOTS:
    void Activate(const QVariantMap& platformData)
    {
        Q_EMIT m_service->Activate(LaunchTokens::fromPlatformData(platformData));
    }

private:
    ApplicationService* m_service;
};

} // namespace
#endif

ApplicationService::ApplicationService(QObject* parent) : QObject(parent) {}

bool ApplicationService::claim(const LaunchTokens& launch)
{
#ifdef WOBBLIX_SESSION_BUS
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return true; // no session bus: a clock without the name, never no clock
    // The object first, so that an Activate sent the moment the name is ours finds it; it is answered
    // once the window is up and the clock's event loop runs.
    new ApplicationAdaptor(this);
    bus.registerObject(ObjectPath, this, QDBusConnection::ExportAdaptors);
    // The bus gives the name to one of two starts that ask at the same moment. The holder may end between
    // this start's asking and its Activate, and the name is then free: ask again, a few times.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> registered =
            bus.interface()->registerService(Name.toString(), QDBusConnectionInterface::DontQueueService,
                                             QDBusConnectionInterface::DontAllowReplacement);
        if (!registered.isValid() || registered.value() != QDBusConnectionInterface::ServiceNotRegistered)
            return true; // ours, or refused by the bus for another reason than another clock
        QDBusMessage activate = QDBusMessage::createMethodCall(Name.toString(), ObjectPath, Interface,
                                                               QStringLiteral("Activate"));
        activate << launch.platformData();
        activate.setAutoStartService(false);
        const QDBusMessage answer = bus.call(activate, QDBus::Block, ActivateTimeoutMs);
        switch (answer.type() == QDBusMessage::ReplyMessage ? QDBusError::NoError
                                                            : QDBusError(answer).type()) {
        case QDBusError::NoError:
        case QDBusError::NoReply:
        case QDBusError::Timeout:
        case QDBusError::TimedOut:
            return false; // the clock, which answered, or is too busy to answer in time
        case QDBusError::ServiceUnknown:
            continue; // gone meanwhile
        default:
            return true; // the bus does not let this start reach the holder: a clock of its own
        }
    }
    return true;
#else
    Q_UNUSED(launch);
    return true;
#endif
}

} // namespace wobblix::platform

#ifdef WOBBLIX_SESSION_BUS
#include "ApplicationService.moc"
#endif
