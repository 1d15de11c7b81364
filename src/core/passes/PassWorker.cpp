// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/passes/PassWorker.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <condition_variable>
#include <mutex>

namespace tamsel {

// Shared by the run, its thread and what it posted: a post outliving its run finds it given up.
struct PassWorker::State {
    std::mutex mutex;
    std::condition_variable answered;
    std::function<bool(int)> check;
    QEventLoop* loop = nullptr;
    bool givenUp = false; // the run returned: posts are dropped, checks answer no
    bool stopped = false; // a check said no
    // What the pass has done, and whether a check between two of its own said stop: seen at once.
    std::atomic<int> done = 0;
    std::atomic<bool> stopSoon = false;
    bool finished = false; // the pass returned and its last post came through
    bool waiting = false;  // a check is asked and not answered
};

class PassWorker::Control final : public PassControl {
public:
    Control(PassWorker* worker, std::shared_ptr<State> state, bool everyRow)
        : m_worker(worker), m_state(std::move(state)), m_everyRow(everyRow)
    {
        m_clock.start();
    }

    bool goOn(int done) override
    {
        m_state->done.store(done, std::memory_order_relaxed);
        if (m_state->stopSoon.load(std::memory_order_relaxed))
            m_stopped = true;
        if (!m_everyRow && (m_stopped || m_clock.elapsed() < CheckEveryMs))
            return !m_stopped;
        m_clock.restart();
        std::unique_lock lock(m_state->mutex);
        if (m_state->givenUp || m_state->stopped)
            return !(m_stopped = true);
        m_state->waiting = true;
        QMetaObject::invokeMethod(
            m_worker,
            [state = m_state, done] {
                if (state->givenUp)
                    return;
                const bool go = state->check ? state->check(done) : true;
                const std::lock_guard lock(state->mutex);
                state->stopped = state->stopped || !go;
                state->waiting = false;
                state->answered.notify_all();
            },
            Qt::QueuedConnection);
        m_state->answered.wait(lock, [this] { return !m_state->waiting || m_state->givenUp; });
        m_stopped = m_state->stopped || m_state->givenUp;
        return !m_stopped;
    }

    void post(std::function<void()> apply) override
    {
        QMetaObject::invokeMethod(
            m_worker,
            [state = m_state, apply = std::move(apply)] {
                if (!state->givenUp)
                    apply();
            },
            Qt::QueuedConnection);
    }

private:
    static constexpr qint64 CheckEveryMs = 40;
    PassWorker* m_worker;
    std::shared_ptr<State> m_state;
    bool m_everyRow;
    bool m_stopped = false;
    QElapsedTimer m_clock;
};

PassWorker::PassWorker(QObject* parent) : QObject(parent) {}

PassWorker::~PassWorker() = default;

bool PassWorker::run(const Pass& pass, std::function<bool(int done)> check, bool checkEveryRow)
{
    Q_ASSERT(!m_running);
    m_running = true;
    auto state = std::make_shared<State>();
    state->check = std::move(check);
    QEventLoop loop;
    state->loop = &loop;
    // Between the pass's own checks the window asks too, so that 取消 stops it at the next row.
    QTimer between;
    if (!checkEveryRow) {
        between.setInterval(10);
        connect(&between, &QTimer::timeout, this, [state] {
            if (state->check && !state->check(state->done.load(std::memory_order_relaxed)))
                state->stopSoon.store(true, std::memory_order_relaxed);
        });
        between.start();
    }
    std::thread thread([this, state, &pass, checkEveryRow] {
        Control control(this, state, checkEveryRow);
        pass(control);
        // After every post of the pass: the loop ends once they are applied.
        QMetaObject::invokeMethod(
            this,
            [state] {
                if (state->givenUp)
                    return;
                state->finished = true;
                state->loop->quit();
            },
            Qt::QueuedConnection);
    });
    loop.exec();
    between.stop();
    {
        const std::lock_guard lock(state->mutex);
        state->givenUp = true;
        state->answered.notify_all();
    }
    thread.join();
    state->loop = nullptr;
    m_running = false;
    return state->finished;
}

} // namespace tamsel
