#pragma once
// What the network tests share: an event loop, waiting on it, and SRU
// answers made for an ISBN.

#include <QCoreApplication>
#include <QElapsedTimer>

#include <string>

namespace folianto::test {

inline void EnsureCoreApplication()
{
    static int argc = 1;
    static char name[] = "folianto_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv); // lives until the process ends
}

// Runs the event loop until `done` holds or `ms` passed; returns `done()`.
template <class Done>
bool WaitFor(Done done, int ms = 20000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// An SRU answer with one record: the ISBN in 020 and the title in 245.
inline std::string SruRecord(const std::string& isbn, const std::string& title)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<searchRetrieveResponse xmlns=\"http://www.loc.gov/zing/srw/\"><version>1.1</version>"
           "<numberOfRecords>1</numberOfRecords><records><record><recordData>"
           "<record xmlns=\"http://www.loc.gov/MARC21/slim\"><leader>00000nam a2200000 c 4500</leader>"
           "<datafield tag=\"020\" ind1=\" \" ind2=\" \"><subfield code=\"a\">" + isbn + "</subfield></datafield>"
           "<datafield tag=\"100\" ind1=\"1\" ind2=\" \"><subfield code=\"a\">Autorin, Alma</subfield></datafield>"
           "<datafield tag=\"245\" ind1=\"1\" ind2=\"0\"><subfield code=\"a\">" + title + "</subfield></datafield>"
           "</record></recordData></record></records></searchRetrieveResponse>\n";
}

// The ISBN-13 978-3-16-NNNNNN-C with its check digit.
inline std::string MakeIsbn13(int n)
{
    std::string d = "978316" + std::to_string(100000 + n).substr(0, 6);
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (i % 2 == 0 ? 1 : 3) * (d[static_cast<std::size_t>(i)] - '0');
    return d + static_cast<char>('0' + (10 - sum % 10) % 10);
}

} // namespace folianto::test
