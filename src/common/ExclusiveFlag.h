#pragma once
// A flag that one user at a time holds; a second user is told it is taken instead of waiting.
// Work that may be skipped while the same work runs elsewhere (the Gaussian fit) holds one.

#include <atomic>

namespace vorna {

class ExclusiveFlag {
public:
    ExclusiveFlag() = default;
    ExclusiveFlag(const ExclusiveFlag&) = delete;
    ExclusiveFlag& operator=(const ExclusiveFlag&) = delete;

    // Holds the flag for its lifetime when it could take it; never waits.
    class Hold {
    public:
        explicit Hold(ExclusiveFlag& flag)
            : m_flag(flag), m_owned(!flag.m_taken.exchange(true, std::memory_order_acquire)) {}
        ~Hold() {
            if (m_owned)
                m_flag.m_taken.store(false, std::memory_order_release);
        }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
        bool owned() const { return m_owned; }

    private:
        ExclusiveFlag& m_flag;
        bool m_owned;
    };

private:
    std::atomic<bool> m_taken{false};
};

} // namespace vorna
