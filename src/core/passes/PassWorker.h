// SPDX-License-Identifier: GPL-3.0-or-later
// Passes (preview, rename, undo, refresh) run on a thread of their own while the window's thread
// goes on with its events; what they find reaches the window in batches.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace tamsel {

// What a pass asks of the thread that started it.
class PassControl {
public:
    virtual ~PassControl() = default;
    // Asked before each row with the rows done so far: false once the pass is to stop there.
    virtual bool goOn(int done) = 0;
    // Has apply run on the thread that started the pass, after everything posted before it.
    virtual void post(std::function<void()> apply) = 0;
};

// What a pass found, handed to deliver through control.post a batch of rows at a time, in order.
template <typename T> class PostedBatches {
public:
    using Deliver = std::function<void(const std::vector<T>&)>;
    PostedBatches(PassControl& control, Deliver deliver) : m_control(control), m_deliver(std::move(deliver))
    {
    }
    ~PostedBatches() { flush(); }
    PostedBatches(const PostedBatches&) = delete;
    PostedBatches& operator=(const PostedBatches&) = delete;

    void add(T item)
    {
        m_items.push_back(std::move(item));
        if (m_items.size() >= BatchSize)
            flush();
    }
    void flush()
    {
        if (m_items.empty())
            return;
        m_control.post([deliver = m_deliver, items = std::move(m_items)] { deliver(items); });
        m_items = {};
    }

private:
    static constexpr size_t BatchSize = 1024;
    PassControl& m_control;
    Deliver m_deliver;
    std::vector<T> m_items;
};

// A pass run where it is called (a test, a benchmark, a child process): posts apply at once.
class DirectControl final : public PassControl {
public:
    explicit DirectControl(std::function<bool(int done)> goOn = {}) : m_goOn(std::move(goOn)) {}
    bool goOn(int done) override { return !m_goOn || m_goOn(done); }
    void post(std::function<void()> apply) override { apply(); }

private:
    std::function<bool(int done)> m_goOn;
};

// Runs one pass at a time on its thread. While it runs, the starting thread's event loop goes on:
// the pass's posts are applied there in order, and now and then (every row when asked, else every
// few tens of milliseconds) the pass waits there for check(done) to say whether it goes on, so that
// it never runs far ahead of what the window shows and a stop lands on a row. Each run has a ticket:
// whatever a pass posts after its run was given up is dropped.
class PassWorker : public QObject {
    Q_OBJECT
public:
    using Pass = std::function<void(PassControl&)>;

    explicit PassWorker(QObject* parent = nullptr);
    ~PassWorker() override;

    // Returns when the pass has ended and all it posted is applied: true; or, when the event loop
    // was told to end meanwhile (the program ends), once the pass has stopped: false.
    bool run(const Pass& pass, std::function<bool(int done)> check, bool checkEveryRow);
    bool running() const { return m_running; }

private:
    struct State;
    class Control;

    bool m_running = false;
};

} // namespace tamsel
