#include "platform/screenreaderstatus.h"

#include <QAccessible>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QObject>
#include <vector>

namespace platform {

namespace {

const QString busService = QStringLiteral("org.a11y.Bus");
const QString busPath = QStringLiteral("/org/a11y/bus");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QByteArray alwaysOn = "QT_LINUX_ACCESSIBILITY_ALWAYS_ON";

bool &bridgeKeptOn()
{
    static bool kept = false;
    return kept;
}

// The bus's word on a screen reader or other assistive technology running.
bool busStatus()
{
    QDBusMessage get =
        QDBusMessage::createMethodCall(busService, busPath, propertiesInterface, QStringLiteral("GetAll"));
    get.setAutoStartService(false); // no bus of our own making when the desktop has none
    get.setArguments({QStringLiteral("org.a11y.Status")});
    const QDBusMessage reply = QDBusConnection::sessionBus().call(get, QDBus::Block, 1000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    const auto status = qdbus_cast<QVariantMap>(reply.arguments().first());
    return status.value(QStringLiteral("IsEnabled")).toBool() ||
           status.value(QStringLiteral("ScreenReaderEnabled")).toBool();
}

class StatusWatcher : public QObject, public QAccessible::ActivationObserver {
    Q_OBJECT
public:
    static StatusWatcher &instance()
    {
        static StatusWatcher watcher;
        return watcher;
    }
    bool active() const { return active_; }
    void add(std::function<void(bool)> changed) { listeners_.push_back(std::move(changed)); }
    void accessibilityActiveChanged(bool active) override
    {
        if (!bridgeKeptOn())
            set(active);
    }

private slots:
    void busChanged() { set(busStatus()); }

private:
    StatusWatcher()
    {
        QAccessible::installActivationObserver(this);
        if (!bridgeKeptOn()) {
            active_ = QAccessible::isActive();
            return;
        }
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.connect(busService, busPath, propertiesInterface, QStringLiteral("PropertiesChanged"), this,
                    SLOT(busChanged()));
        auto *appeared = new QDBusServiceWatcher(busService, bus, QDBusServiceWatcher::WatchForRegistration, this);
        connect(appeared, &QDBusServiceWatcher::serviceRegistered, this, &StatusWatcher::busChanged);
        active_ = busStatus();
    }
    void set(bool active)
    {
        if (active == active_)
            return;
        active_ = active;
        for (const auto &changed : listeners_)
            changed(active);
    }

    bool active_ = false;
    std::vector<std::function<void(bool)>> listeners_;
};

} // namespace

void keepAccessibilityBridgeOn()
{
    // One set by the user stays theirs: then Qt's activation counts.
    if (qEnvironmentVariableIsSet(alwaysOn))
        return;
    qputenv(alwaysOn, "1");
    bridgeKeptOn() = true;
}

bool assistiveTechnologyActive()
{
    return StatusWatcher::instance().active();
}

void onAssistiveTechnologyChanged(std::function<void(bool active)> changed)
{
    StatusWatcher::instance().add(std::move(changed));
}

} // namespace platform

#include "screenreaderstatus.moc"
