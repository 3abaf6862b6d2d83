#pragma once

#include <string>

// The printed order: the basket in code order with the customer's requisites, printed on the
// process printer (PrinterSetup) through the report "P1$REPORT" of quelb017, while a progress
// window shows how far it got.
namespace app {

class Pechzakaz
{
public:
    Pechzakaz() = default;
    Pechzakaz(const Pechzakaz&) = delete;
    Pechzakaz& operator=(const Pechzakaz&) = delete;

    // Prints and returns the response (Response::Completed, or Cancelled when the user
    // stopped it or the printer failed).
    int run();

    // The job's name in the printer's queue and the PDF's title: "Заказ", followed by " от " and
    // the customer's name when the requisites give one. Windows-1251.
    static std::string jobTitle();

    // "Заказ  (распечатан <d6. date> в <T1 time>)" from TODAY and CLOCK, Windows-1251.
    static std::string heading();

private:
    int init();
    void kill();

    bool m_filesOpened = false;
    std::string m_heading; // HEADSTR
};

// The procedure as the price-list window calls it; the response goes to LastResponse.
void pechzakaz();

} // namespace app
