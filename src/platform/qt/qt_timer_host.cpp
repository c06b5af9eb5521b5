#include "platform/qt/qt_timer_host.h"

namespace qx::qt {

namespace {

class QtPeriodicTimer final : public ui::PeriodicTimer {
public:
    explicit QtPeriodicTimer(std::function<void()> tick)
        : qtimer_(new QTimer), ticking_(std::make_shared<bool>(false)) {
        qtimer_->setTimerType(Qt::CoarseTimer);
        QObject::connect(qtimer_, &QTimer::timeout, [tick = std::move(tick), ticking = ticking_] {
            *ticking = true;
            tick();
            *ticking = false;
        });
    }
    ~QtPeriodicTimer() override {
        qtimer_->stop();
        // Going from inside its own tick: the event loop deletes the QTimer
        // once the handler has returned.
        if (*ticking_) {
            qtimer_->deleteLater();
        } else {
            delete qtimer_;
        }
    }
    QtPeriodicTimer(const QtPeriodicTimer&) = delete;
    QtPeriodicTimer& operator=(const QtPeriodicTimer&) = delete;

    void start(int ms) override { qtimer_->start(ms); }  // restarts a running timer
    void stop() override { qtimer_->stop(); }
    const QTimer* qtimer() const { return qtimer_; }

private:
    QTimer* qtimer_;
    std::shared_ptr<bool> ticking_;
};

}  // namespace

std::unique_ptr<ui::PeriodicTimer> QtPeriodicTimers::create(std::function<void()> tick) {
    return std::make_unique<QtPeriodicTimer>(std::move(tick));
}

const QTimer* QtTimerHost::qtimerOf(const ui::Timer& timer) const {
    const auto* periodic = static_cast<const QtPeriodicTimer*>(table_.periodicOf(timer));
    return periodic ? periodic->qtimer() : nullptr;
}

}  // namespace qx::qt
