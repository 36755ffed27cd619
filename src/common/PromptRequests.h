#pragma once
// Questions a worker hands to the UI thread and waits for. The worker keeps a PendingAnswer; the
// posted request carries a Responder. When the UI answers, the worker wakes with the answer; when
// the request is dropped unanswered (the window is gone), the worker wakes with its fallback, so
// no thread ever waits for a window that will not come.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "common/UserPrompt.h"

namespace vorna {

template <class T> class AnswerChannel {
public:
    void Answer(T value) {
        std::lock_guard<std::mutex> g(m_mutex);
        if (m_closed)
            return;
        m_value = std::move(value);
        m_closed = true;
        m_cv.notify_all();
    }
    void Abandon() {
        std::lock_guard<std::mutex> g(m_mutex);
        m_closed = true;
        m_cv.notify_all();
    }
    // The answer, or `fallback` once abandoned or `stop` is set.
    T Wait(T fallback, const std::atomic<bool>* stop) {
        std::unique_lock<std::mutex> l(m_mutex);
        while (!m_closed) {
            if (stop && stop->load())
                return fallback;
            m_cv.wait_for(l, std::chrono::milliseconds(50));
        }
        return m_value ? *m_value : fallback;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::optional<T> m_value;
    bool m_closed = false;
};

// The UI side of one question; whoever drops the last copy unanswered abandons it.
template <class T> class Responder {
public:
    explicit Responder(std::shared_ptr<AnswerChannel<T>> channel) : m_channel(std::move(channel)) {}
    ~Responder() { m_channel->Abandon(); }
    Responder(const Responder&) = delete;
    Responder& operator=(const Responder&) = delete;
    void Answer(T value) { m_channel->Answer(std::move(value)); }

private:
    std::shared_ptr<AnswerChannel<T>> m_channel;
};

template <class T> struct PendingAnswer {
    std::shared_ptr<AnswerChannel<T>> channel = std::make_shared<AnswerChannel<T>>();
    std::shared_ptr<Responder<T>> MakeResponder() {
        return std::make_shared<Responder<T>>(channel);
    }
};

// A Yes/No(/Cancel) question.
struct QuestionRequest {
    std::string text;
    bool withCancel = false;
    std::shared_ptr<Responder<PromptAnswer>> reply;
};

// A Save As dialog; the reply is the chosen path or nothing on Cancel.
struct SaveFileRequest {
    std::string path;
    std::string defaultExtension;
    std::string filter;
    std::shared_ptr<Responder<std::optional<std::string>>> reply;
};

// A number entry (the analyzer's security code); nothing on Cancel.
struct NumberRequest {
    std::string title;
    int minimum = 0;
    int maximum = 0;
    int initial = 0;
    std::shared_ptr<Responder<std::optional<int>>> reply;
};

} // namespace vorna
