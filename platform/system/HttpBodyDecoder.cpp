#include "platform/system/HttpBodyDecoder.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace platform::system {
namespace {

// What one stage hands the next at most: the chain's memory stays small whatever the ratio.
constexpr std::size_t BetweenSize = 64 * 1024;

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::string lowered(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return result;
}

} // namespace

// One coding's stream, decoded through zlib.
class HttpBodyDecoder::Stage
{
public:
    enum class Kind { Gzip, Deflate, Unknown };

    explicit Stage(Kind kind) : m_kind(kind) {}
    ~Stage()
    {
        if (m_initialised)
            inflateEnd(&m_stream);
    }
    Stage(const Stage&) = delete;
    Stage& operator=(const Stage&) = delete;

    // False when the bytes cannot be this coding.
    bool step(std::string_view& input, char* output, std::size_t outputSize, std::size_t& produced)
    {
        produced = 0;
        if (m_kind == Kind::Unknown)
            return input.empty();
        if (!m_initialised && !begin(input))
            return false;
        if (!m_initialised)
            return true; // the first bytes are still awaited
        if (!m_head.empty()) {
            std::string_view head = m_head;
            const bool ok = inflateFrom(head, output, outputSize, produced);
            m_head.erase(0, m_head.size() - head.size());
            if (!ok || !m_head.empty())
                return ok;
        }
        std::size_t more = 0;
        const bool ok = inflateFrom(input, output + produced, outputSize - produced, more);
        produced += more;
        return ok;
    }

    bool started() const { return m_started; }
    bool ended() const { return m_ended && m_head.empty(); }

private:
    bool begin(std::string_view& input)
    {
        if (input.empty())
            return true;
        m_started = true;
        int windowBits = 15 + 32; // a gzip or zlib header, told apart by zlib
        if (m_kind == Kind::Deflate) {
            // "deflate" is meant to be zlib-wrapped, but servers send raw deflate too: the first
            // two bytes tell which.
            while (m_head.size() < 2 && !input.empty()) {
                m_head.push_back(input.front());
                input.remove_prefix(1);
            }
            if (m_head.size() < 2)
                return true;
            const auto first = static_cast<unsigned char>(m_head[0]);
            const auto second = static_cast<unsigned char>(m_head[1]);
            const bool gzip = first == 0x1f && second == 0x8b;
            const bool zlib =
                (first & 0x0f) == 8 && (first >> 4) <= 7 && ((first << 8) | second) % 31 == 0;
            if (!gzip && !zlib)
                windowBits = -15;
        }
        if (inflateInit2(&m_stream, windowBits) != Z_OK)
            return false;
        m_initialised = true;
        return true;
    }

    bool inflateFrom(std::string_view& input, char* output, std::size_t outputSize,
                     std::size_t& produced)
    {
        produced = 0;
        while (produced < outputSize) {
            if (m_ended) {
                if (input.empty())
                    return true;
                // A gzip body may hold several members one after the other; anything else
                // after the end of the stream is no part of the body.
                if (m_kind != Kind::Gzip || inflateReset(&m_stream) != Z_OK)
                    return false;
                m_ended = false;
            }
            const auto given = static_cast<uInt>(std::min<std::size_t>(input.size(), UINT_MAX));
            const auto room =
                static_cast<uInt>(std::min<std::size_t>(outputSize - produced, UINT_MAX));
            m_stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
            m_stream.avail_in = given;
            m_stream.next_out = reinterpret_cast<Bytef*>(output + produced);
            m_stream.avail_out = room;
            const int result = inflate(&m_stream, Z_NO_FLUSH);
            const std::size_t took = given - m_stream.avail_in;
            const std::size_t made = room - m_stream.avail_out;
            input.remove_prefix(took);
            produced += made;
            if (result == Z_STREAM_END) {
                m_ended = true;
                continue;
            }
            if (result == Z_BUF_ERROR)
                return true; // nothing more to do without more input
            if (result != Z_OK)
                return false; // bad data, a failed check, a dictionary asked for
            if (took == 0 && made == 0)
                return true;
        }
        return true;
    }

    Kind m_kind;
    z_stream m_stream{};
    bool m_initialised = false;
    bool m_started = false;
    bool m_ended = false;
    std::string m_head; // the first bytes of a deflate stream, until its wrapping is known
};

HttpBodyDecoder::HttpBodyDecoder(std::string_view contentEncoding)
{
    // The codings are listed in the order they were applied: the last is undone first.
    std::vector<Stage::Kind> kinds;
    while (!contentEncoding.empty()) {
        const std::size_t comma = contentEncoding.find(',');
        const std::string coding = lowered(trimmed(contentEncoding.substr(0, comma)));
        contentEncoding.remove_prefix(comma == std::string_view::npos ? contentEncoding.size()
                                                                      : comma + 1);
        if (coding.empty() || coding == "identity")
            continue;
        if (coding == "gzip" || coding == "x-gzip")
            kinds.push_back(Stage::Kind::Gzip);
        else if (coding == "deflate")
            kinds.push_back(Stage::Kind::Deflate);
        else
            kinds.push_back(Stage::Kind::Unknown);
    }
    for (auto kind = kinds.rbegin(); kind != kinds.rend(); ++kind)
        m_stages.push_back(std::make_unique<Stage>(*kind));
    if (m_stages.size() > 1)
        m_between.resize(m_stages.size() - 1);
}

HttpBodyDecoder::~HttpBodyDecoder() = default;
HttpBodyDecoder::HttpBodyDecoder(HttpBodyDecoder&&) noexcept = default;
HttpBodyDecoder& HttpBodyDecoder::operator=(HttpBodyDecoder&&) noexcept = default;

void HttpBodyDecoder::decode(std::string_view& input, char* output, std::size_t outputSize,
                             std::size_t& produced)
{
    produced = 0;
    if (m_damaged)
        return;
    if (m_stages.empty()) {
        produced = std::min(input.size(), outputSize);
        // An empty view may hold no address at all.
        if (produced > 0)
            std::memcpy(output, input.data(), produced);
        input.remove_prefix(produced);
        return;
    }
    // Stage i reads the body (i = 0) or what stage i - 1 left between them, and writes into the
    // next buffer, or into the output for the last stage.
    const std::size_t last = m_stages.size() - 1;
    const auto run = [&](std::size_t i, char* into, std::size_t room, std::size_t& made) {
        std::string_view from = i == 0 ? input : std::string_view(m_between[i - 1]);
        const std::size_t before = from.size();
        const bool ok = m_stages[i]->step(from, into, room, made);
        const std::size_t taken = before - from.size();
        if (i == 0)
            input.remove_prefix(taken);
        else
            m_between[i - 1].erase(0, taken);
        if (!ok)
            m_damaged = true;
        return taken > 0 || made > 0;
    };
    bool moved = true;
    while (moved && !m_damaged && produced < outputSize) {
        moved = false;
        for (std::size_t i = 0; i < last && !m_damaged; ++i) {
            std::string& into = m_between[i];
            const std::size_t at = into.size();
            if (at >= BetweenSize)
                continue;
            into.resize(BetweenSize);
            std::size_t made = 0;
            moved = run(i, into.data() + at, BetweenSize - at, made) || moved;
            into.resize(at + made);
        }
        if (m_damaged)
            break;
        std::size_t made = 0;
        moved = run(last, output + produced, outputSize - produced, made) || moved;
        produced += made;
    }
}

bool HttpBodyDecoder::whole() const
{
    if (m_damaged)
        return false;
    for (const std::string& waiting : m_between)
        if (!waiting.empty())
            return false;
    // A stage that never got a byte had nothing to decode; one that began must have ended.
    for (const auto& stage : m_stages)
        if (stage->started() && !stage->ended())
            return false;
    return true;
}

DecodedHttpBody decodeHttpBody(std::string_view contentEncoding, std::string_view body)
{
    HttpBodyDecoder decoder(contentEncoding);
    DecodedHttpBody result;
    std::string chunk(BetweenSize, '\0');
    for (;;) {
        std::size_t produced = 0;
        decoder.decode(body, chunk.data(), chunk.size(), produced);
        if (produced == 0)
            break;
        result.bytes.append(chunk.data(), produced);
    }
    result.ended = body.empty() && decoder.whole();
    return result;
}

} // namespace platform::system
