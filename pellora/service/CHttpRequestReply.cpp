// Reading the reply: the head byte by byte up to its empty line, then the body by its framing.
#include "CHttpRequest.h"

#include "HttpReader.h"

#include <cctype>
#include <vector>

namespace {

std::string lowerCase(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string trim(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return std::string();
    const size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

// The codings of a Transfer-Encoding value, lower-cased; empty list elements are skipped.
void appendCodings(const std::string& value, std::vector<std::string>& codings) {
    size_t pos = 0;
    while (pos <= value.size()) {
        size_t comma = value.find(',', pos);
        if (comma == std::string::npos)
            comma = value.size();
        const std::string coding = lowerCase(trim(value.substr(pos, comma - pos)));
        if (!coding.empty())
            codings.push_back(coding);
        pos = comma + 1;
    }
}

} // namespace

bool CHttpRequest::readReply(HttpReader& reader, HttpReply& reply) {
    auto fail = [this](std::string why) {
        m_lastError = std::move(why);
        return false;
    };
    // A reader result other than Ok, as a failure; over is the text for a spent budget.
    auto failRead = [&](HttpReader::Result r, const char* cut, const char* over) {
        if (r == HttpReader::Failed)
            return fail(reader.error());
        if (r == HttpReader::OverBudget)
            return fail(over);
        return fail(cut);
    };

    // Head: up to the first empty line (lines may end in LF alone); a close before it ends the
    // head, but over TLS only a close announced by close_notify.
    reader.setBudget(m_options.maxHeadBytes);
    std::string& head = reply.head;
    int lineChars = 0;
    bool closed = false;
    for (;;) {
        char c;
        const HttpReader::Result r = reader.byte(c);
        if (r == HttpReader::Closed) {
            closed = true;
            break;
        }
        if (r != HttpReader::Ok)
            return failRead(r, "reply cut short", "reply head too large");
        head += c;
        if (c == '\n') {
            if (lineChars == 0)
                break;
            lineChars = 0;
        } else if (c != '\r') {
            ++lineChars;
        }
    }
    if (head.empty())
        return fail("no reply");

    // Status line and the framing headers.
    long long contentLength = -1;
    std::vector<std::string> codings;
    reply.status = parseStatus(head);
    size_t lineEnd = head.find('\n');
    size_t pos = lineEnd == std::string::npos ? head.size() : lineEnd + 1;
    while (pos < head.size()) {
        size_t next = head.find('\n', pos);
        if (next == std::string::npos)
            next = head.size();
        const std::string line = head.substr(pos, next - pos);
        pos = next + 1;
        const size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        const std::string name = lowerCase(trim(line.substr(0, colon)));
        const std::string value = trim(line.substr(colon + 1));
        if (name == "content-length") {
            if (value.empty() || value.size() > 18 ||
                value.find_first_not_of("0123456789") != std::string::npos ||
                (contentLength >= 0 && std::stoll(value) != contentLength))
                return fail("invalid Content-Length");
            contentLength = std::stoll(value);
        } else if (name == "transfer-encoding") {
            appendCodings(value, codings);
        }
    }
    // No other transfer coding is understood, and none may be read as if absent.
    const bool chunked = !codings.empty();
    if (codings.size() > 1 || (chunked && codings[0] != "chunked"))
        return fail("unsupported transfer coding");

    // Every byte after the head counts against the body's cap: chunk framing and trailer too.
    const size_t cap = m_options.maxBodyBytes;
    reader.setBudget(cap);
    std::string& body = reply.body;
    if (closed) {
        // Head only, ended by the close.
    } else if (chunked) {
        for (;;) {
            std::string sizeLine;
            for (;;) {
                char c;
                const HttpReader::Result r = reader.byte(c);
                if (r != HttpReader::Ok)
                    return failRead(r, "chunked body cut short", "reply body too large");
                if (c == '\n')
                    break;
                if (sizeLine.size() >= 1024)
                    return fail("invalid chunk size line");
                sizeLine += c;
            }
            const std::string hex = trim(sizeLine.substr(0, sizeLine.find(';')));
            if (hex.empty() || hex.size() > 15 ||
                hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
                return fail("invalid chunk size");
            const unsigned long long size = std::stoull(hex, nullptr, 16);
            if (size == 0)
                break;
            if (size > cap - body.size())
                return fail("reply body too large");
            const size_t target = body.size() + static_cast<size_t>(size);
            while (body.size() < target) {
                const HttpReader::Result r = reader.some(body, target - body.size());
                if (r != HttpReader::Ok)
                    return failRead(r, "chunked body cut short", "reply body too large");
            }
            char c1 = 0, c2 = 0;
            HttpReader::Result r = reader.byte(c1);
            if (r == HttpReader::Ok && c1 == '\r')
                r = reader.byte(c2);
            if (r == HttpReader::OverBudget)
                return fail("reply body too large");
            if (r != HttpReader::Ok || (c1 == '\r' ? c2 : c1) != '\n')
                return fail("invalid chunk end");
        }
        // Trailer lines up to the empty line; the body is whole, so a close here is tolerated.
        int chars = 0;
        for (;;) {
            char c;
            const HttpReader::Result r = reader.byte(c);
            if (r == HttpReader::Closed || r == HttpReader::Cut)
                break;
            if (r != HttpReader::Ok)
                return failRead(r, "", "reply body too large");
            if (c == '\n') {
                if (chars == 0)
                    break;
                chars = 0;
            } else if (c != '\r') {
                ++chars;
            }
        }
    } else if (contentLength >= 0) {
        if (static_cast<unsigned long long>(contentLength) > cap)
            return fail("reply body too large");
        const size_t target = static_cast<size_t>(contentLength);
        while (body.size() < target) {
            const HttpReader::Result r = reader.some(body, target - body.size());
            if (r != HttpReader::Ok)
                return failRead(r, "reply body cut short", "reply body too large");
        }
    } else {
        // Until the close; over TLS a close without close_notify may have cut the body.
        for (;;) {
            const HttpReader::Result r = reader.some(body, cap);
            if (r == HttpReader::Closed)
                break;
            if (r != HttpReader::Ok)
                return failRead(r, "reply cut short", "reply body too large");
        }
    }
    return true;
}
