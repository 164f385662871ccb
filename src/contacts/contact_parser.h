#pragma once
// Reads a company's contact page into its row of the company grid, under the
// user's field rules.

#include <string>

#include "net/site.h"

namespace app {
class MainWindow;
}

namespace contacts {

// "http://" ID ShopDomain "/contact.html", or empty when the ID holds anything
// but letters, digits, "-" and "_": such an ID could steer the address off
// the shop domain, and its page is read as an empty one.
std::string contactPageAddress(const net::Site& site, const std::string& companyId);

// Fills row rowNumber (1-based) of the company grid from page (GBK), or
// blanks it when a required field is empty. Counts it valid or filtered. Any
// thread; the check boxes are read at the moment of each test.
void parseContactPage(app::MainWindow& main, const std::string& page, int rowNumber);

// Empties all ten cells of the row; the row itself stays.
void clearCompanyRow(app::MainWindow& main, int rowNumber);

}  // namespace contacts
