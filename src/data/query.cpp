#include "data/query.h"

#include "data/records.h"
#include "data/sqlitedb.h"

namespace data {

namespace {

// The SQL text with every table named by its file ("data.db") turned into
// the table inside that file, each file attached under a schema of its own
// as it is first named.
QString resolveTableFiles(const QString &text, sqlite::Connection &connection)
{
    QString sql;
    QStringList files;
    QStringList tables;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c != u'\'' && c != u'"') {
            sql += c;
            ++i;
            continue;
        }
        // A quoted token, with doubled quotes standing for one.
        qsizetype end = i + 1;
        QString inner;
        while (end < text.size()) {
            if (text[end] == c) {
                if (end + 1 < text.size() && text[end + 1] == c) {
                    inner += c;
                    end += 2;
                    continue;
                }
                break;
            }
            inner += text[end++];
        }
        const qsizetype next = std::min(end + 1, text.size());
        if (c == u'"' && inner.endsWith(QStringLiteral(".db"), Qt::CaseInsensitive)) {
            qsizetype index = files.indexOf(inner);
            if (index < 0) {
                index = files.size();
                files.append(inner);
                tables.append(connection.attachReadOnly(inner, QStringLiteral("file%1").arg(index)));
            }
            sql += QStringLiteral("file%1.").arg(index) + sqlite::quoted(tables[index]);
        } else {
            sql += text.mid(i, next - i);
        }
        i = next;
    }
    return sql;
}

// A fresh connection with the query's table files attached, so every open
// reads the files as they are on disk at that moment.
class Compiled {
public:
    explicit Compiled(const QString &text)
        : connection_(sqlite::Connection::openForQuery()), sql_(resolveTableFiles(text, connection_)),
          statement_(connection_, sql_, sqlite::Statement::Kind::UserSql)
    {}
    sqlite::Statement &statement() { return statement_; }

private:
    sqlite::Connection connection_;
    QString sql_;
    sqlite::Statement statement_;
};

// Binds every parameter of the text; each needs a value, used unchanged.
void bindParams(sqlite::Statement &statement, const QMap<QString, QString> &params)
{
    sqlite3_stmt *stmt = statement.handle();
    for (int i = 1; i <= sqlite3_bind_parameter_count(stmt); ++i) {
        const char *rawName = sqlite3_bind_parameter_name(stmt, i);
        const QString name = rawName ? QString::fromUtf8(rawName + 1) : QString::number(i);
        const auto value = params.constFind(name.toLower());
        if (value == params.constEnd())
            throw EDatabaseError(QStringLiteral("Не задано значение параметра '%1'").arg(name));
        statement.bindText(i, *value);
    }
}

} // namespace

void Query::setSql(const QStringList &lines)
{
    close();
    sql_ = lines;
    prepared_ = false;
}

void Query::prepare()
{
    [[maybe_unused]] const Compiled checked(sql_.join(u'\n'));
    prepared_ = true;
}

void Query::setParamByName(const QString &name, const QString &value)
{
    params_.insert(name.toLower(), value);
}

void Query::doOpen(Snapshot &result)
{
    Compiled compiled(sql_.join(u'\n'));
    sqlite::Statement &statement = compiled.statement();
    bindParams(statement, params_);
    statement.readAll(result, false);
}

QStringList Query::queryPlan() const
{
    Compiled compiled(QStringLiteral("EXPLAIN QUERY PLAN ") + sql_.join(u'\n'));
    sqlite::Statement &statement = compiled.statement();
    bindParams(statement, params_);
    QStringList lines;
    while (statement.step())
        lines.append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement.handle(), 3))));
    return lines;
}

} // namespace data
