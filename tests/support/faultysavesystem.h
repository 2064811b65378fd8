#pragma once

#include "safesave.h"

#include <algorithm>
#include <cerrno>

// The real system calls of a save, but one step fails with a chosen errno, the way a full,
// broken or read-only disk fails. The write step lets `budget` bytes through first; an EINTR
// fails once, as an interruption does.
class FaultySaveSystem : public rtf::SaveSystem
{
public:
    enum class Step { None, Create, Write, Sync, Close, Rename };

    FaultySaveSystem(Step step, int error, qint64 budget = 0) : m_step(step), m_error(error), m_budget(budget) {}

    qint64 written = 0;   // bytes the disk took

    int createTemporary(QByteArray &pattern, int *fd) override
    {
        return m_step == Step::Create ? m_error : SaveSystem::createTemporary(pattern, fd);
    }
    int write(int fd, const char *data, size_t size, size_t *out) override
    {
        if (m_step == Step::Write) {
            if (written >= m_budget) {
                *out = 0;
                m_step = m_error == EINTR ? Step::None : m_step;
                return m_error;
            }
            size = std::min(size, size_t(m_budget - written));
        }
        const int error = SaveSystem::write(fd, data, size, out);
        written += qint64(*out);
        return error;
    }
    int sync(int fd) override { return fail(Step::Sync, SaveSystem::sync(fd)); }
    int close(int fd) override { return fail(Step::Close, SaveSystem::close(fd)); }   // the descriptor goes either way
    int rename(const QByteArray &from, const QByteArray &to) override
    {
        return m_step == Step::Rename ? m_error : SaveSystem::rename(from, to);
    }

private:
    int fail(Step step, int error) const { return m_step == step ? m_error : error; }   // after the real call

    Step m_step;
    int m_error;
    qint64 m_budget;
};
