#pragma once

// The price window's way out of a damaged price list or basket, looked for after each of the
// window's events (the first is its opening, after the lists were read): the basket is
// recovered at once; the price list is made anew after a question, which is asked once while
// the window runs. A copy of the program that only reads the files changes nothing.
namespace app {

class PriceWindowDamage
{
public:
    struct Outcome
    {
        bool basketRecovered = false; // or tried: the basket is read again either way
        bool priceListMadeAnew = false;
    };

    // What was done, so that the window reads its lists again.
    Outcome handle();

private:
    bool m_basketTried = false;
    bool m_priceAsked = false;
    bool m_handling = false;
};

} // namespace app
