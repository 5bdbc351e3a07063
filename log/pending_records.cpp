#include "log/pending_records.h"

#include "log/log_fields.h"

#include <limits>
#include <utility>

namespace kx::log {

namespace {

constexpr std::int64_t kLargestKey = std::numeric_limits<std::int64_t>::max();

} // namespace

PendingRecords::PendingRecords()
{
    m_commitTimer.setSingleShot(true);
    m_commitTimer.setTimerType(Qt::PreciseTimer);
    m_commitTimer.setInterval(kCommitDelayMs);
    connect(&m_commitTimer, &QTimer::timeout, this, [this] { commit(); });
}

PendingRecords::~PendingRecords()
{
    detach(End::Keep);
}

Status PendingRecords::attach(Database &db, const RunFacts &facts, std::int64_t firstKey,
                              std::shared_ptr<RecoveryFile> restored, QString &warning)
{
    detach(End::Keep);
    const bool isRestored = restored != nullptr;
    m_file = std::move(restored);
    Status s = isRestored ? attachFile(db, facts, true) : RecoveryFile::create(m_file);
    if (!isRestored && s.ok()) {
        s = attachFile(db, facts, false);
        if (!s.ok()) {
            db.exec("DETACH DATABASE rec");
            m_file->remove();
        }
    }
    if (!isRestored && !s.ok()) {
        warning = QStringLiteral("Cannot create a recovery file in %1 (%2): readings are logged, but a crash loses them.")
                      .arg(RecoveryFile::directory(), s.error);
        m_file.reset();
        s = attachTemporary(db);
    }
    if (s.ok() && m_count > kLargestKey - firstKey)
        s = {QStringLiteral("database or disk is full")};
    if (s.ok())
        s = m_insert.prepare(db, withLogFields(R"(INSERT INTO rec.log ()", R"(, "Not") VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8))"));
    if (s.ok())
        s = m_window.prepare(db, withLogFields("SELECT ", R"( FROM rec.log WHERE "Not" >= ?1 ORDER BY "Not" LIMIT ?2)"));
    if (!s.ok()) {
        m_insert = {};
        m_window = {};
        db.exec("DETACH DATABASE rec");
        m_file.reset();
        m_count = 0;
        return s;
    }
    m_db = &db;
    m_firstKey = firstKey;
    m_fileSaysUnsaved = isRestored;
    return {};
}

Status PendingRecords::attachFile(Database &db, const RunFacts &facts, bool restored)
{
    Statement attach;
    if (Status s = attach.prepare(db, "ATTACH DATABASE ?1 AS rec"); !s.ok())
        return s;
    attach.bind(1, m_file->path());
    if (Status s = attach.run(); !s.ok())
        return s;
    // Each commit reaches the disk before the next reading: a power cut keeps what was committed.
    if (Status s = db.exec("PRAGMA rec.journal_mode=WAL; PRAGMA rec.synchronous=FULL"); !s.ok())
        return s;
    if (!restored) {
        m_count = 0;
        Status s = db.exec("BEGIN; " + logTableSql(kSchema));
        if (s.ok())
            s = createRunTable(db, kSchema, facts);
        if (s.ok())
            s = db.exec("COMMIT");
        if (!s.ok() && db.inTransaction())
            db.exec("ROLLBACK");
        return s;
    }
    // The restored records keep their order; their keys follow the log file as it is now.
    Statement numbered;
    if (Status s = numbered.prepare(db, R"(SELECT count(*), ifnull(max("Not"), 0) FROM rec.log)"); !s.ok())
        return s;
    numbered.step();
    if (!numbered.status().ok())
        return numbered.status();
    if (numbered.integer(0) != numbered.integer(1))
        return {QStringLiteral("the recovery file %1 is damaged").arg(m_file->path())};
    m_count = numbered.integer(0);
    if (Status s = updateRunFacts(db, kSchema, facts); !s.ok())
        return s;
    return setRunUnsaved(db, kSchema, true);
}

Status PendingRecords::attachTemporary(Database &db)
{
    m_count = 0;
    // An empty name is a private file of the engine's in its temporary directory, gone with it.
    return db.exec("ATTACH DATABASE '' AS rec; PRAGMA rec.journal_mode=MEMORY; " + logTableSql(kSchema));
}

void PendingRecords::detach(End end)
{
    if (!m_db)
        return;
    m_commitTimer.stop();
    if (end == End::Keep)
        commit();
    else if (m_db->inTransaction())
        m_db->exec("ROLLBACK");
    m_insert = {};
    m_window = {};
    m_db->exec("DETACH DATABASE rec");
    if (end == End::Run && m_file)
        m_file->remove();
    m_file.reset();
    m_db = nullptr;
    m_count = 0;
    m_uncommitted = 0;
    m_fileSaysUnsaved = false;
    m_failing = false;
}

std::string PendingRecords::keySql() const
{
    return R"(("Not" + )" + std::to_string(m_firstKey - 1) + ")";
}

Status PendingRecords::append(const LogRecord &record)
{
    // The largest key stays unused, so the keys after the last record never pass it.
    if (m_count >= kLargestKey - m_firstKey)
        return {QStringLiteral("database or disk is full")};
    if (!m_db->inTransaction()) {
        if (Status s = m_db->exec("BEGIN"); !s.ok())
            return fail(s);
    }
    m_insert.bind(1, std::int64_t(record.no));
    m_insert.bind(2, record.time.toString(QLatin1String(kStoredTimeFormat)));
    m_insert.bind(3, record.value);
    m_insert.bind(4, record.nval);
    m_insert.bind(5, record.coupling);
    m_insert.bind(6, record.unit);
    m_insert.bind(7, record.rangeMode);
    m_insert.bind(8, m_count + 1);
    if (Status s = m_insert.run(); !s.ok())
        return fail(s);
    ++m_count;
    ++m_uncommitted;
    if (m_failing)
        return commit();
    if (!m_commitTimer.isActive())
        m_commitTimer.start();
    return {};
}

Status PendingRecords::commit()
{
    m_commitTimer.stop();
    if (m_uncommitted == 0)
        return {};
    Status s;
    if (m_file && !m_fileSaysUnsaved)
        s = setRunUnsaved(*m_db, kSchema, true);
    if (s.ok())
        s = m_db->exec("COMMIT");
    if (!s.ok())
        return fail(s);
    m_uncommitted = 0;
    m_fileSaysUnsaved = m_file != nullptr;
    m_failing = false;
    return {};
}

Status PendingRecords::fail(const Status &failure)
{
    if (m_db->inTransaction())
        m_db->exec("ROLLBACK");
    m_count -= std::exchange(m_uncommitted, 0);
    if (!std::exchange(m_failing, true))
        emit writeFailed(failure.error);
    return failure;
}

void PendingRecords::markSaved()
{
    if (!m_file)
        return;
    commit();
    if (m_fileSaysUnsaved && setRunUnsaved(*m_db, kSchema, false).ok())
        m_fileSaysUnsaved = false;
}

Status PendingRecords::read(std::int64_t first, std::int64_t n, std::vector<LogRecord> &out) const
{
    m_window.bind(1, first + 1);
    m_window.bind(2, n);
    while (m_window.step())
        out.push_back(recordAt(m_window));
    m_window.reset();
    return m_window.status();
}

} // namespace kx::log
