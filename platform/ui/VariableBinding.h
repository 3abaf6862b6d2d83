#pragma once

#include "platform/text/FixedString.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include "platform/text/RealText.h"

// A program variable shown by a control (its USE variable). Texts are Windows-1251.
namespace platform::ui {

// Reads a number as the runtime reads typed values: leading blanks skipped, an optional "-",
// digits, optionally "." or "," and more digits; reading stops at the first other character;
// no digits give 0.
double parseNumber(std::string_view text);

class VariableBinding
{
public:
    virtual ~VariableBinding() = default;
    virtual bool isNumber() const = 0;
    virtual double number() const = 0;
    virtual void setNumber(double value) = 0;
    // Texts as they are; numbers in their plain decimal form.
    virtual std::string text() const = 0;
    virtual void setText(std::string_view text) = 0;
};

template <typename T> class NumberBinding : public VariableBinding
{
public:
    explicit NumberBinding(T& variable) : m_at(reinterpret_cast<std::byte*>(&variable)) {}
    // A variable at an address of any alignment (a member of a packed record).
    explicit NumberBinding(std::byte* at) : m_at(at) {}
    bool isNumber() const override { return true; }
    double number() const override { return static_cast<double>(load()); }
    void setNumber(double value) override
    {
        if constexpr (std::is_floating_point_v<T>) {
            store(static_cast<T>(value));
        } else {
            // Whole variables keep the low bits of the rounded value, as an assignment to a
            // narrower integer does; values beyond 64 bits saturate first.
            const double limit = 9.2e18;
            const double clamped =
                std::isnan(value) ? 0.0 : std::clamp(std::round(value), -limit, limit);
            store(static_cast<T>(static_cast<std::int64_t>(clamped)));
        }
    }
    std::string text() const override
    {
        if constexpr (std::is_floating_point_v<T>) {
            std::string s = text::realFixedText(static_cast<double>(load()), 6);
            while (!s.empty() && s.back() == '0')
                s.pop_back();
            if (!s.empty() && s.back() == '.')
                s.pop_back();
            return s == "-0" ? "0" : s;
        } else {
            return std::to_string(static_cast<long long>(load()));
        }
    }
    void setText(std::string_view text) override { setNumber(parseNumber(text)); }

private:
    // Copied through bytes: a packed member may lie at any address.
    T load() const
    {
        T value;
        std::memcpy(&value, m_at, sizeof value);
        return value;
    }
    void store(T value) { std::memcpy(m_at, &value, sizeof value); }

    std::byte* m_at;
};

template <std::size_t N> class FixedStringBinding : public VariableBinding
{
public:
    explicit FixedStringBinding(text::FixedString<N>& variable) : m_variable(variable) {}
    bool isNumber() const override { return false; }
    double number() const override { return parseNumber(m_variable.view()); }
    void setNumber(double value) override { m_variable = text::realFixedText(value, 6); }
    std::string text() const override { return std::string(m_variable.view()); }
    void setText(std::string_view text) override { m_variable.assign(text); }

private:
    text::FixedString<N>& m_variable;
};

class StringBinding : public VariableBinding
{
public:
    explicit StringBinding(std::string& variable) : m_variable(variable) {}
    bool isNumber() const override { return false; }
    double number() const override { return parseNumber(m_variable); }
    void setNumber(double value) override { m_variable = text::realFixedText(value, 6); }
    std::string text() const override { return m_variable; }
    void setText(std::string_view text) override { m_variable = std::string(text); }

private:
    std::string& m_variable;
};

template <typename T>
requires std::is_arithmetic_v<T> std::unique_ptr<VariableBinding> bindingTo(T& variable)
{
    return std::make_unique<NumberBinding<T>>(variable);
}

template <std::size_t N> std::unique_ptr<VariableBinding> bindingTo(text::FixedString<N>& variable)
{
    return std::make_unique<FixedStringBinding<N>>(variable);
}

inline std::unique_ptr<VariableBinding> bindingTo(std::string& variable)
{
    return std::make_unique<StringBinding>(variable);
}

} // namespace platform::ui
