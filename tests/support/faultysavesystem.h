#pragma once

#include "safesave.h"

#include <algorithm>

// The real system calls of a save, but one step fails with a chosen errno, the way a full,
// broken or read-only disk fails. The write step lets `budget` bytes through first.
class FaultySaveSystem : public rtf::SaveSystem
{
public:
    enum class Step { None, Status, Create, Write, Sync, Close, Rename };

    FaultySaveSystem(Step step, int error, qint64 budget = 0) : m_step(step), m_error(error), m_budget(budget) {}

    bool failOnce = false;     // the step fails once and then works, like an interruption
    qint64 written = 0;        // bytes the disk took

    int status(const QByteArray &path, struct stat *st) override { return fail(Step::Status, SaveSystem::status(path, st)); }
    int createTemporary(QByteArray &pattern, int *fd) override
    {
        return failing(Step::Create) ? m_error : SaveSystem::createTemporary(pattern, fd);
    }
    int write(int fd, const char *data, size_t size, size_t *out) override
    {
        if (m_step == Step::Write && !m_done) {
            if (written >= m_budget) {
                *out = 0;
                m_done = failOnce;
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
        return failing(Step::Rename) ? m_error : SaveSystem::rename(from, to);
    }

private:
    bool failing(Step step)
    {
        if (m_step != step || m_done)
            return false;
        m_done = failOnce;
        return true;
    }
    int fail(Step step, int error) { return failing(step) ? m_error : error; }   // after the real call

    Step m_step;
    int m_error;
    qint64 m_budget;
    bool m_done = false;
};
