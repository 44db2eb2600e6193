#include "SqlText.h"

#include <cctype>

namespace kaldor::standin {

namespace {

bool isSpace(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

bool isWordChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '$' || c == '#' ||
           c == '@';
}

// Index just past a quoted region starting at `i` (text[i] is the opening character).
size_t skipQuoted(std::string_view text, size_t i, char close)
{
    for (size_t j = i + 1; j < text.size(); ++j) {
        if (text[j] == close) {
            const bool doubled = close != '}' && j + 1 < text.size() && text[j + 1] == close;
            if (!doubled) {
                return j + 1;
            }
            ++j;
        }
    }
    return text.size();
}

size_t skipComment(std::string_view text, size_t i)
{
    if (text.compare(i, 2, "--") == 0) {
        const size_t end = text.find('\n', i);
        return end == std::string_view::npos ? text.size() : end + 1;
    }
    const size_t end = text.find("*/", i + 2);
    return end == std::string_view::npos ? text.size() : end + 2;
}

char closingFor(char open)
{
    switch (open) {
    case '\'':
        return '\'';
    case '"':
        return '"';
    case '[':
        return ']';
    case '{':
        return '}';
    default:
        return '\0';
    }
}

// A cursor over one statement's text, reading words and names.
class Reader final {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    // Blanks and comments, which the servers read as blanks.
    void skipSpace()
    {
        while (pos_ < text_.size()) {
            if (isSpace(text_[pos_])) {
                ++pos_;
            } else if (text_.compare(pos_, 2, "--") == 0 || text_.compare(pos_, 2, "/*") == 0) {
                pos_ = skipComment(text_, pos_);
            } else {
                break;
            }
        }
    }
    bool atEnd()
    {
        skipSpace();
        return pos_ >= text_.size();
    }
    // Consumes the keyword (case-insensitive, whole word) when it comes next.
    bool keyword(std::string_view word)
    {
        skipSpace();
        if (text_.size() - pos_ < word.size()) {
            return false;
        }
        for (size_t k = 0; k < word.size(); ++k) {
            if (std::tolower(static_cast<unsigned char>(text_[pos_ + k])) != word[k]) {
                return false;
            }
        }
        const size_t end = pos_ + word.size();
        if (end < text_.size() && isWordChar(text_[end])) {
            return false;
        }
        pos_ = end;
        return true;
    }
    bool symbol(char c)
    {
        skipSpace();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    // One identifier: word, [bracketed] or "quoted". Empty when none.
    std::string identifier()
    {
        skipSpace();
        if (pos_ >= text_.size()) {
            return {};
        }
        const char open = text_[pos_];
        if (open == '[' || open == '"') {
            const size_t end = skipQuoted(text_, pos_, closingFor(open));
            if (end > text_.size() || text_[end - 1] != closingFor(open)) {
                return {};
            }
            std::string name(text_.substr(pos_ + 1, end - pos_ - 2));
            pos_ = end;
            return name;
        }
        const size_t start = pos_;
        while (pos_ < text_.size() && isWordChar(text_[pos_])) {
            ++pos_;
        }
        return std::string(text_.substr(start, pos_ - start));
    }
    // schema.name or name; false when no name could be read.
    bool qualifiedName(std::string* schema, std::string* name)
    {
        std::string first = identifier();
        if (first.empty()) {
            return false;
        }
        if (symbol('.')) {
            *schema = first;
            *name = identifier();
            return !name->empty();
        }
        schema->clear();
        *name = first;
        return true;
    }
    std::string rest() const { return std::string(text_.substr(pos_)); }

private:
    std::string_view text_;
    size_t pos_ = 0;
};

// "call NAME", optionally followed by "()" and a ';' (inside an escape).
Statement readCall(Reader& r, Statement s)
{
    s.malformed = !r.qualifiedName(&s.schema, &s.name);
    if (r.symbol('(')) {
        s.malformed = s.malformed || !r.symbol(')');
    }
    r.symbol(';');
    s.malformed = s.malformed || !r.atEnd();
    return s;
}

Statement readEscape(const std::string& piece, Statement s)
{
    std::string inner = trim(piece);
    if (inner.size() < 2 || inner.back() != '}') {
        s.malformed = true;
        return s;
    }
    inner = inner.substr(1, inner.size() - 2);
    Reader r(inner);
    if (r.symbol('?')) {
        r.symbol('=');
    }
    if (!r.keyword("call")) {
        s.malformed = true;
        return s;
    }
    s.kind = StatementKind::CallEscape;
    return readCall(r, s);
}

Statement readAlterView(Reader& r, Statement s)
{
    s.kind = StatementKind::AlterView;
    if (!r.qualifiedName(&s.schema, &s.name) || !r.keyword("as")) {
        s.malformed = true;
        return s;
    }
    s.body = trim(r.rest());
    s.malformed = s.body.empty();
    return s;
}

bool onlyWordsLeft(Reader& r, std::initializer_list<std::string_view> optional)
{
    for (const std::string_view word : optional) {
        if (r.keyword(word)) {
            break;
        }
    }
    return r.atEnd();
}

} // namespace

std::vector<size_t> parameterMarkers(std::string_view sql)
{
    std::vector<size_t> markers;
    size_t i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        if (c == '\'' || c == '"' || c == '[') {
            i = skipQuoted(sql, i, closingFor(c));
        } else if (sql.compare(i, 2, "--") == 0 || sql.compare(i, 2, "/*") == 0) {
            i = skipComment(sql, i);
        } else {
            if (c == '?') {
                markers.push_back(i);
            }
            ++i;
        }
    }
    return markers;
}

std::string trim(std::string_view text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isSpace(text[begin])) {
        ++begin;
    }
    while (end > begin && isSpace(text[end - 1])) {
        --end;
    }
    return std::string(text.substr(begin, end - begin));
}

std::string toLower(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

std::vector<std::string> splitBatch(std::string_view batch)
{
    std::vector<std::string> pieces;
    size_t start = 0;
    size_t i = 0;
    bool content = false; // a piece of nothing but blanks and comments is no statement
    const auto flush = [&](size_t end) {
        if (content) {
            pieces.push_back(trim(batch.substr(start, end - start)));
        }
        content = false;
    };
    while (i < batch.size()) {
        const char c = batch[i];
        if (closingFor(c) != '\0') {
            i = skipQuoted(batch, i, closingFor(c));
            content = true;
        } else if (batch.compare(i, 2, "--") == 0 || batch.compare(i, 2, "/*") == 0) {
            i = skipComment(batch, i);
        } else if (c == ';') {
            flush(i);
            start = ++i;
        } else {
            content = content || !isSpace(c);
            ++i;
        }
    }
    flush(batch.size());
    return pieces;
}

Statement classify(const std::string& piece)
{
    Statement s;
    s.text = piece;
    const std::string text = trim(piece);
    if (!text.empty() && text.front() == '{') {
        return readEscape(text, s);
    }
    Reader r(text);
    if (r.keyword("begin")) {
        const bool tran = r.keyword("transaction") || r.keyword("tran");
        if (tran) {
            r.identifier(); // an optional transaction name
        }
        if (r.atEnd()) {
            s.kind = StatementKind::Begin;
        }
        return s;
    }
    if (r.keyword("commit")) {
        s.kind = onlyWordsLeft(r, {"transaction", "tran", "work"}) ? StatementKind::Commit
                                                                   : StatementKind::Plain;
        return s;
    }
    if (r.keyword("rollback")) {
        s.kind = onlyWordsLeft(r, {"transaction", "tran", "work"}) ? StatementKind::Rollback
                                                                   : StatementKind::Plain;
        return s;
    }
    if (r.keyword("call")) {
        s.kind = StatementKind::Call;
        return readCall(r, s);
    }
    if (r.keyword("exec") || r.keyword("execute")) {
        s.kind = StatementKind::CallEscape;
        return readCall(r, s);
    }
    if (r.keyword("alter") && r.keyword("view")) {
        return readAlterView(r, s);
    }
    return s;
}

namespace {

// Length of the qualifier `schema.` at `i` (word, [word] or "word"), 0 when none is there.
size_t qualifierLength(std::string_view sql, size_t i, std::string_view schema)
{
    size_t start = i;
    char close = '\0';
    if (sql[i] == '[' || sql[i] == '"') {
        close = closingFor(sql[i]);
        ++start;
    }
    if (sql.size() - start < schema.size() + 1 ||
        toLower(sql.substr(start, schema.size())) != schema) {
        return 0;
    }
    size_t end = start + schema.size();
    if (close != '\0') {
        if (sql[end] != close) {
            return 0;
        }
        ++end;
    } else if (isWordChar(sql[end])) {
        return 0;
    }
    return end < sql.size() && sql[end] == '.' ? end + 1 - i : 0;
}

} // namespace

std::string stripSchemaQualifier(std::string_view sql, std::string_view schema)
{
    const std::string lowered = toLower(schema);
    std::string out;
    size_t i = 0;
    while (i < sql.size()) {
        const bool boundary = i == 0 || (!isWordChar(sql[i - 1]) && sql[i - 1] != '.');
        if (const size_t n = boundary ? qualifierLength(sql, i, lowered) : 0; n > 0) {
            i += n;
            continue;
        }
        if (sql[i] == '\'') {
            const size_t end = skipQuoted(sql, i, '\'');
            out.append(sql.substr(i, end - i));
            i = end;
            continue;
        }
        out += sql[i++];
    }
    return out;
}

} // namespace kaldor::standin
