#include "dbcparser.h"

#include "dbcgrammar.h"

#include <algorithm>
#include <cstdio>

namespace Quillon {

namespace {

DbcParser::Stop stopAt(const std::string &text, std::size_t offset)
{
    DbcParser::Stop stop;
    stop.offset = offset;
    const auto end = text.begin() + std::ptrdiff_t(offset);
    stop.line = std::size_t(std::count(text.begin(), end, '\n')) + 1;
    const std::size_t lineStart = offset == 0 ? std::string::npos : text.rfind('\n', offset - 1);
    stop.column = lineStart == std::string::npos ? offset + 1 : offset - lineStart;
    return stop;
}

} // namespace

bool DbcParser::parseText(const std::string &text, DBC::Network &network, Stop *stop,
                          const std::atomic<bool> *cancel)
{
    if (!cancel)
        return parseTextWhile(text, network, {}, stop);
    return parseTextWhile(text, network, [cancel] { return !cancel->load(std::memory_order_relaxed); }, stop);
}

bool DbcParser::parseTextWhile(const std::string &text, DBC::Network &network, const std::function<bool()> &running,
                               Stop *stop)
{
    const char *first = text.data();
    const char *const last = first + text.size();
    static const char byteOrderMark[] = "\xEF\xBB\xBF";
    if (text.compare(0, 3, byteOrderMark) == 0)
        first += 3;

    bool stopped = false;
    const DbcGrammar grammar([&running, &stopped] {
        stopped = running && !running();
        return !stopped;
    });
    const bool matched = qi::phrase_parse(first, last, grammar, qi::ascii::space, network);
    // A cancelled parse has no stop to report: counting the lines of a large
    // text would only keep the canceller waiting.
    if (stopped)
        return false;
    qi::parse(first, last, *qi::ascii::space);
    const bool accepted = matched && first == last;
    if (!accepted && stop)
        *stop = stopAt(text, std::size_t(first - text.data()));
    return accepted;
}

bool DbcParser::parseFile(const std::string &path, DBC::Network &network, Stop *stop,
                          const std::atomic<bool> *cancel)
{
    // C streams report read errors, so that a folder or an unreadable file
    // is not taken for an empty one.
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    std::string text;
    // One allocation for the whole file: growing a large string doubles
    // and copies it, which a cancel would wait for. Folders report sizes
    // that are no file's, so only plausible sizes are taken.
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size > 0 && size < (1L << 30))
            text.reserve(std::size_t(size));
        std::rewind(file);
    }
    char buffer[65536];
    std::size_t count;
    bool cancelled = false;
    while (!(cancelled = cancel && cancel->load()) && (count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, count);
    const bool readError = std::ferror(file) != 0;
    std::fclose(file);
    if (readError || cancelled)
        return false;
    return parseText(text, network, stop, cancel);
}

} // namespace Quillon
