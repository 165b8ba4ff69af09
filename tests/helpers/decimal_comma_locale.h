#pragma once
// Switches the process locale to one whose decimal point is a comma for the life of the object,
// and always switches it back. Tests skip themselves where no such locale is installed.

#include <clocale>
#include <string>

namespace gage::test {

class DecimalCommaLocale {
  public:
    DecimalCommaLocale() : saved_(std::setlocale(LC_ALL, nullptr)) {
        for (const char* name :
             {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "German_Germany.1252"}) {
            if (std::setlocale(LC_ALL, name) != nullptr) {
                active_ = std::localeconv()->decimal_point[0] == ',';
                break;
            }
        }
    }
    ~DecimalCommaLocale() { std::setlocale(LC_ALL, saved_.c_str()); }
    DecimalCommaLocale(const DecimalCommaLocale&) = delete;
    DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;

    // False when no decimal-comma locale is installed.
    bool active() const { return active_; }

  private:
    std::string saved_;
    bool active_ = false;
};

}  // namespace gage::test
