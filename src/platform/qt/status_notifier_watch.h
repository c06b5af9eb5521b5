// Whether the session bus has a StatusNotifierWatcher, and a host registered
// with it, learnt from the bus's signals and from asynchronous calls: the
// watcher belongs to a panel, which may hang, and the window's thread never
// waits on it. Only the answer at start is waited for, a quarter of a second
// at most, before the window is made.
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QTimer>
#include <functional>

namespace qx::qt {

class StatusNotifierWatch final : public QObject {
    Q_OBJECT
public:
    explicit StatusNotifierWatch(QDBusConnection bus);

    // Looks once: whether the watcher's name has an owner (the bus answers
    // that) and, if it has, whether a host is registered, waiting at most
    // `waitMs` for the watcher's answer. Later changes come by themselves.
    void start(int waitMs);
    bool watcherPresent() const { return watcher_; }
    bool hostPresent() const { return watcher_ && host_; }

    // Something changed; `watcherCame`: a watcher (a new one) took the name,
    // so items must register with it again.
    std::function<void(bool watcherCame)> onChange;

private slots:
    void hostsChanged();

private:
    void ownerChanged(const QString& owner);
    QDBusMessage hostQuestion() const;
    void askHost();
    // `tell`: onChange hears of a change (not at start, which asks itself).
    void answered(const QDBusMessage& reply, bool tell);

    QDBusConnection bus_;
    QDBusServiceWatcher names_;
    QTimer retry_;
    bool started_ = false;
    bool watcher_ = false;
    bool host_ = false;
    quint64 asked_ = 0;  // the latest question: answers to older ones are stale
};

}  // namespace qx::qt
