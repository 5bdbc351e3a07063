#include "log/sqlite_db.h"

#include <sqlite3.h>

#include <utility>

namespace kx::log {

namespace {

// Every connection is set up as for a file from anywhere, since a log the user opens may be one:
// nothing stored in a file runs (no triggers, views, extensions, or functions and virtual tables
// used by its schema), and its schema cannot be written. A misspelt "field" must fail, not
// quietly become a text constant.
constexpr std::pair<int, int> kConnectionSettings[] = {
    {SQLITE_DBCONFIG_DEFENSIVE, 1},          {SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0},
    {SQLITE_DBCONFIG_ENABLE_TRIGGER, 0},     {SQLITE_DBCONFIG_ENABLE_VIEW, 0},
    {SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0}, {SQLITE_DBCONFIG_DQS_DML, 0},
    {SQLITE_DBCONFIG_DQS_DDL, 0},
};

} // namespace

static Status engineError(sqlite3 *db)
{
    return {QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory")};
}

Database::~Database()
{
    close();
}

Database::Database(Database &&other) noexcept
    : m_db(std::exchange(other.m_db, nullptr))
{
}

Database &Database::operator=(Database &&other) noexcept
{
    if (this != &other) {
        close();
        m_db = std::exchange(other.m_db, nullptr);
    }
    return *this;
}

Status Database::open(const QString &path, bool create)
{
    close();
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        Status failed = engineError(db);
        sqlite3_close(db);
        return failed;
    }
    for (const auto &[option, value] : kConnectionSettings)
        sqlite3_db_config(db, option, value, nullptr);
    m_db = db;
    return {};
}

void Database::close()
{
    // Every statement is finalised by its owner first, so this close always succeeds.
    if (m_db)
        sqlite3_close(std::exchange(m_db, nullptr));
}

Status Database::exec(std::string_view sql)
{
    const std::string text(sql);
    if (sqlite3_exec(m_db, text.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        return engineError(m_db);
    return {};
}

bool Database::inTransaction() const
{
    return m_db && !sqlite3_get_autocommit(m_db);
}

Status Database::lastError() const
{
    return engineError(m_db);
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

Statement::Statement(Statement &&other) noexcept
    : m_db(std::exchange(other.m_db, nullptr))
    , m_stmt(std::exchange(other.m_stmt, nullptr))
    , m_status(std::move(other.m_status))
{
}

Statement &Statement::operator=(Statement &&other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(m_stmt);
        m_db = std::exchange(other.m_db, nullptr);
        m_stmt = std::exchange(other.m_stmt, nullptr);
        m_status = std::move(other.m_status);
    }
    return *this;
}

Status Statement::prepare(const Database &db, std::string_view sql)
{
    sqlite3_finalize(std::exchange(m_stmt, nullptr));
    m_db = db.handle();
    m_status = {};
    if (sqlite3_prepare_v2(m_db, sql.data(), int(sql.size()), &m_stmt, nullptr) != SQLITE_OK) {
        m_stmt = nullptr;
        m_status = engineError(m_db);
    }
    return m_status;
}

void Statement::bind(int index, std::int64_t value)
{
    sqlite3_bind_int64(m_stmt, index, value);
}

void Statement::bind(int index, double value)
{
    sqlite3_bind_double(m_stmt, index, value);
}

void Statement::bind(int index, const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        m_status = engineError(m_db);
    return false;
}

Status Statement::run()
{
    m_status = {};
    step();
    reset();
    return m_status;
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

std::int64_t Statement::integer(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

double Statement::real(int column) const
{
    return sqlite3_column_double(m_stmt, column);
}

QString Statement::text(int column) const
{
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    return QString::fromUtf8(bytes, sqlite3_column_bytes(m_stmt, column));
}

} // namespace kx::log
