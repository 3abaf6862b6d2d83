#include "platform/storage/FilterNodes.h"

#include "platform/text/CaseTable.h"
#include "platform/text/Collation.h"
#include "platform/text/Picture.h"
#include "platform/text/RealText.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace platform::storage::filter {

double numberOfText(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    double value = 0;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    const auto result = std::from_chars(first, last, value, std::chars_format::fixed);
    if (result.ec != std::errc{})
        return 0;
    return negative ? -value : value;
}

std::string_view textOfNumber(double value, std::string& scratch)
{
    // Whole numbers, the usual case (codes), go without allocating.
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15) {
        char digits[24];
        const auto result = std::to_chars(digits, digits + sizeof digits,
                                          static_cast<long long>(value));
        scratch.assign(digits, result.ptr);
        return scratch;
    }
    scratch = text::realToText(value);
    return scratch;
}

bool StringNode::truth()
{
    return !text::clip(text()).empty();
}

double NumberVariable::number()
{
    switch (m_kind) {
    case Bindings::Kind::Long: {
        int32_t v;
        std::memcpy(&v, m_address, sizeof v);
        return v;
    }
    case Bindings::Kind::Short: {
        int16_t v;
        std::memcpy(&v, m_address, sizeof v);
        return v;
    }
    case Bindings::Kind::Byte:
        return *static_cast<const uint8_t*>(m_address);
    case Bindings::Kind::Real: {
        double v;
        std::memcpy(&v, m_address, sizeof v);
        return v;
    }
    default:
        return 0;
    }
}

std::string_view StringVariable::text()
{
    if (!m_zeroTerminated)
        return {m_address, m_size};
    const void* zero = std::memchr(m_address, 0, m_size);
    const std::size_t length =
        zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - m_address) : m_size;
    return {m_address, length};
}

double NumberField::number()
{
    return fieldNumber(m_type, *m_base + m_offset);
}

Comparison::Comparison(CompareOp op, NodePtr left, NodePtr right)
    : m_op(op)
    , m_left(std::move(left))
    , m_right(std::move(right))
    , m_texts(m_left->type() == ValueType::String && m_right->type() == ValueType::String)
{
}

bool Comparison::truth()
{
    int order = 0;
    if (m_texts) {
        const std::string_view a = m_left->text();
        const std::string_view b = m_right->text();
        if (m_op == CompareOp::Equal)
            return text::equalClipped(a, b);
        if (m_op == CompareOp::NotEqual)
            return !text::equalClipped(a, b);
        order = text::compareCollated(a, b);
    } else {
        const double a = m_left->number();
        const double b = m_right->number();
        order = a < b ? -1 : (b < a ? 1 : 0);
    }
    switch (m_op) {
    case CompareOp::Equal:
        return order == 0;
    case CompareOp::NotEqual:
        return order != 0;
    case CompareOp::Less:
        return order < 0;
    case CompareOp::Greater:
        return order > 0;
    case CompareOp::LessEqual:
        return order <= 0;
    case CompareOp::GreaterEqual:
        return order >= 0;
    }
    return false;
}

bool Logical::truth()
{
    if (m_op == Op::And)
        return m_left->truth() && m_right->truth();
    return m_left->truth() || m_right->truth();
}

InString::InString(NodePtr sought, NodePtr searched, NodePtr step, NodePtr start)
    : m_sought(std::move(sought))
    , m_searched(std::move(searched))
    , m_step(std::move(step))
    , m_start(std::move(start))
{
}

double findInString(std::string_view sought, std::string_view searched, double step, double start)
{
    if (sought.empty() || !(step >= 1) || !(start >= 1) || !(start <= 1e9))
        return 0;
    const auto from = static_cast<std::size_t>(start) - 1;
    if (from >= searched.size() || sought.size() > searched.size() - from)
        return 0;
    if (step == 1) {
        const std::size_t at = searched.find(sought, from);
        return at == std::string_view::npos ? 0 : static_cast<double>(at + 1);
    }
    const std::size_t stride = step > 1e9 ? searched.size() : static_cast<std::size_t>(step);
    for (std::size_t at = from; at + sought.size() <= searched.size(); at += stride) {
        if (std::memcmp(searched.data() + at, sought.data(), sought.size()) == 0)
            return static_cast<double>(at + 1);
    }
    return 0;
}

double InString::number()
{
    const std::string_view sought = m_sought->text();
    const std::string_view searched = m_searched->text();
    const double step = m_step->number();
    const double start = m_start ? m_start->number() : 1;
    return findInString(sought, searched, step, start);
}

std::string_view Upper::text()
{
    const std::string_view source = m_operand->text();
    m_scratch.resize(source.size());
    for (std::size_t i = 0; i < source.size(); ++i)
        m_scratch[i] = static_cast<char>(text::toUpper(static_cast<unsigned char>(source[i])));
    return m_scratch;
}

std::string_view Clip::text()
{
    return text::clip(m_operand->text());
}

bool textPictureWidth(std::string_view picture, std::size_t& width)
{
    if (picture.size() <= 2 || picture[0] != '@' || (picture[1] != 's' && picture[1] != 'S'))
        return false;
    const auto result = std::from_chars(picture.data() + 2, picture.data() + picture.size(), width);
    return result.ec == std::errc{} && result.ptr == picture.data() + picture.size();
}

bool Format::acceptable(std::string_view picture)
{
    std::size_t width = 0;
    if (textPictureWidth(picture, width))
        return width <= MaxTextWidth;
    if (!picture.empty() && picture.front() == '@')
        picture.remove_prefix(1);
    if (picture.empty())
        return false;
    const char kind = static_cast<char>(text::toLower(static_cast<unsigned char>(picture[0])));
    return kind == 'n' || kind == 'd' || kind == 't';
}

Format::Format(NodePtr value, std::string picture)
    : m_value(std::move(value))
    , m_picture(std::move(picture))
{
    m_isText = textPictureWidth(m_picture, m_textWidth);
}

std::string_view Format::text()
{
    if (m_isText) {
        const std::string_view source = m_value->type() == ValueType::String
                                            ? m_value->text()
                                            : textOfNumber(m_value->number(), m_numberScratch);
        const std::size_t n = std::min(source.size(), m_textWidth);
        m_scratch.resize(m_textWidth);
        if (n)
            std::memcpy(m_scratch.data(), source.data(), n);
        std::memset(m_scratch.data() + n, ' ', m_textWidth - n);
        return m_scratch;
    }
    // The other pictures take a number; "@" in front of the picture is optional.
    std::string_view picture = m_picture;
    if (!picture.empty() && picture.front() == '@')
        picture.remove_prefix(1);
    m_scratch = text::format(m_value->number(), picture);
    return m_scratch;
}

} // namespace platform::storage::filter
