// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/desktop/ApplicationService.h"

#include "platform/runtime/Application.h"
#include "platform/runtime/qt/QtText.h"

#include <QObject>

#ifdef WOBBLIX_SESSION_BUS
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusReply>
#include <QVariantMap>
#endif

namespace wobblix::platform {

// The object that serves the name on the bus.
struct ApplicationService::Native {
    QObject object;
};

#ifdef WOBBLIX_SESSION_BUS
namespace {

// The object that serves the name, at the path freedesktop's applications derive from it.
const QString ObjectPath = QStringLiteral("/io/github/wobblix/WobblixClock");
const QString Interface = QStringLiteral("org.freedesktop.Application");
const QString StartupIdKey = QStringLiteral("desktop-startup-id");
const QString ActivationTokenKey = QStringLiteral("activation-token");

// The tokens as org.freedesktop.Application's platform data carries them, and back; a token that is not
// there is empty.
QVariantMap platformData(const LaunchTokens& launch)
{
    QVariantMap data;
    if (!launch.startupId.empty())
        data.insert(StartupIdKey, qt::toQString(launch.startupId));
    if (!launch.activationToken.empty())
        data.insert(ActivationTokenKey, qt::toQString(launch.activationToken));
    return data;
}

LaunchTokens launchTokensOf(const QVariantMap& data)
{
    return {qt::fromQString(data.value(StartupIdKey).toString()),
            qt::fromQString(data.value(ActivationTokenKey).toString())};
}

// org.freedesktop.Application on the bus, passed on to the service's own event.
class ApplicationAdaptor final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
public:
    ApplicationAdaptor(QObject* object, ApplicationService* service)
        : QDBusAbstractAdaptor(object), m_service(service)
    {
    }

public Q_SLOTS:
    void Activate(const QVariantMap& platformData)
    {
        m_service->Activate.Raise(launchTokensOf(platformData));
    }

private:
    ApplicationService* m_service;
};

} // namespace
#endif

ApplicationService::ApplicationService() : m_native(std::make_unique<Native>()) {}

ApplicationService::~ApplicationService() = default;

bool ApplicationService::claim(const LaunchTokens& launch)
{
#ifdef WOBBLIX_SESSION_BUS
    const QString name = QString::fromLatin1(Application::Id);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return true; // no session bus: a clock without the name, never no clock
    // The object first, so that an Activate sent the moment the name is ours finds it; it is answered
    // once the window is up and the clock's event loop runs.
    new ApplicationAdaptor(&m_native->object, this);
    bus.registerObject(ObjectPath, &m_native->object, QDBusConnection::ExportAdaptors);
    // The bus gives the name to one of two starts that ask at the same moment. The holder may end between
    // this start's asking and its Activate, and the name is then free: ask again, a few times.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> registered =
            bus.interface()->registerService(name, QDBusConnectionInterface::DontQueueService,
                                             QDBusConnectionInterface::DontAllowReplacement);
        if (!registered.isValid() || registered.value() != QDBusConnectionInterface::ServiceNotRegistered)
            return true; // ours, or refused by the bus for another reason than another clock
        QDBusMessage activate =
            QDBusMessage::createMethodCall(name, ObjectPath, Interface, QStringLiteral("Activate"));
        activate << platformData(launch);
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
    (void)launch;
    return true;
#endif
}

} // namespace wobblix::platform

#ifdef WOBBLIX_SESSION_BUS
#include "ApplicationService.moc"
#endif
