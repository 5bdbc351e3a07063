#pragma once

#include <QString>

#include <cstdint>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace kx::log {

// Outcome of a table operation: empty on success, otherwise the message the standard error box
// shows (the table engine's own text where the engine failed).
struct Status {
    QString error;
    bool ok() const { return error.isEmpty(); }
};

// One SQLite connection, closed with its owner.
class Database {
public:
    Database() = default;
    ~Database();
    Database(Database &&other) noexcept;
    Database &operator=(Database &&other) noexcept;
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens the file at `path`; `create` makes a missing file, otherwise a missing file fails.
    // Nothing the file holds can run code.
    Status open(const QString &path, bool create);
    void close();
    bool isOpen() const { return m_db != nullptr; }

    // Runs statements that return no rows.
    Status exec(std::string_view sql);
    // True between BEGIN and the COMMIT or ROLLBACK that ends it, or the failure that undid it.
    bool inTransaction() const;
    Status lastError() const;
    sqlite3 *handle() const { return m_db; }

private:
    sqlite3 *m_db = nullptr;
};

// One prepared statement; columns and parameters are numbered as in SQLite (parameters from 1,
// columns from 0).
class Statement {
public:
    Statement() = default;
    ~Statement();
    Statement(Statement &&other) noexcept;
    Statement &operator=(Statement &&other) noexcept;
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    Status prepare(const Database &db, std::string_view sql);

    void bind(int index, std::int64_t value);
    void bind(int index, double value);
    void bind(int index, const QString &value);

    // Advances to the next row: true while a row is there; a failure ends the rows and is kept in
    // `status()`.
    bool step();
    // Runs a statement that returns no rows and makes it ready to run again.
    Status run();
    void reset();
    const Status &status() const { return m_status; }

    std::int64_t integer(int column) const;
    double real(int column) const;
    QString text(int column) const;

private:
    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
    Status m_status;
};

} // namespace kx::log
