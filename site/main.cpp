// directory-site: the stand-in for the directory site, on 127.0.0.1.

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>

#include "catalogue.h"
#include "server.h"

namespace {

constexpr const char* kHelp = R"(usage: directory-site [options]

Serves the directory site on 127.0.0.1: the company search on any Host
(search.localhost:PORT) and every company's shop on ID.shop.localhost:PORT.
The first line on stdout is "listening on 127.0.0.1:PORT".

Pages (UTF-8):
  /search?wd=KEYWORD            keyword probe: the token after the first "s-",
                                the main-industry block and its cateid links;
                                wd may be percent-encoded UTF-8 or raw GBK
  /s-TOKEN.html?province=&city=&busmode=&is_v=&employ=&annulsale=&cateid=[&page=N]
                                result count "共找到<span>N</span>条" and listing
                                form 1 (first half of page N's listings)
  /search-s?page=N&wd=&province=&city=&busmode=&is_v=&employ=&annulsale=&cateid=&goldkwd=
                                listing form 2 (the rest of page N's listings)
  http://ID.shop.localhost:PORT/contact.html
                                a company's contact page
  /__control?busy=1|0           switches busy mode ("系统繁忙" on every search page)
Pages hold 40 listings; page 0 is the first page, like page 1. Unknown paths
and unknown shop IDs get 404. The search host sets a session cookie "sid".

Options:
  --port N             port to listen on, 0 for any free port (default 18080)
  --seed N             the catalogue (default 1)
  --results KEYWORD=N  pins the number of listings of KEYWORD (repeatable)
  --no-token KEYWORD   the probe page of KEYWORD holds no token (repeatable)
  --latency-ms N       delay before each answer
  --jitter-ms N        up to N more milliseconds of delay, at random
  --busy               start in busy mode
  --fail-rate P        share of answers that fail: connection closed before the
                       body, HTTP 500, truncated body or invalid UTF-8 garbage
  --stall-rate P       share of answers never sent until the client gives up
  --stall-ms N         how long a stalled answer waits (default 120000, longer
                       than any client limit); each holds one of the server's
                       400 threads meanwhile
  --log FILE           one line per request: Host, target as received, Cookie,
                       injected fault ("-" for none), separated by tabs
  --dump KEYWORD       print the ground truth of a search as UTF-8 CSV and exit:
                       page,id,name,person,mobile,telephone,fax,email,qq,address
                       one line per listing in page order; the name without
                       <em> and spaces, the contact values without spaces and
                       CR LF. Narrow it with --province --city --busmode
                       --is-v --employ --annulsale --cateid.
  --help               this text
)";

[[noreturn]] void fail(const std::string& message) {
  std::cerr << "directory-site: " << message << "\n(see --help)\n";
  std::exit(2);
}

long long number(std::string_view option, const std::string& text, long long min, long long max) {
  char* end = nullptr;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || value < min || value > max)
    fail(std::string(option) + ": not a number in range: " + text);
  return value;
}

double share(std::string_view option, const std::string& text) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !(value >= 0.0 && value <= 1.0))
    fail(std::string(option) + ": not a share from 0 to 1: " + text);
  return value;
}

std::string csvCell(const std::string& value) {
  if (value.find_first_of(",\"\r\n") == std::string::npos) return value;
  std::string quoted = "\"";
  for (const char c : value) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

void dump(const site::Catalogue& catalogue, const std::string& keyword, const site::Criteria& criteria) {
  std::cout << "page,id,name,person,mobile,telephone,fax,email,qq,address\n";
  const int count = catalogue.resultCount(keyword, criteria);
  const int pages = (count + site::Catalogue::kPerPage - 1) / site::Catalogue::kPerPage;
  for (int page = 1; page <= pages; ++page) {
    for (const site::Listing& listing : catalogue.page(keyword, criteria, page)) {
      const site::Contact c = site::extracted(listing.company.contact);
      std::cout << page << ',' << csvCell(listing.company.id) << ',' << csvCell(site::shownName(listing.html));
      for (const std::string* value : {&c.person, &c.mobile, &c.telephone, &c.fax, &c.email, &c.qq, &c.address}) {
        std::cout << ',' << csvCell(*value);
      }
      std::cout << '\n';
    }
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  site::SiteOptions options;
  int port = 18080;
  std::optional<std::string> dumpKeyword;
  site::Criteria criteria;
  const std::pair<const char*, std::string*> criteriaOptions[] = {
      {"--province", &criteria.province}, {"--city", &criteria.city},     {"--busmode", &criteria.busmode},
      {"--is-v", &criteria.isV},          {"--employ", &criteria.employ}, {"--annulsale", &criteria.annulsale},
      {"--cateid", &criteria.cateid}};

  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) fail(std::string(option) + " needs a value");
      return argv[++i];
    };
    if (option == "--help" || option == "-h") {
      std::cout << kHelp;
      return 0;
    } else if (option == "--port") {
      port = static_cast<int>(number(option, value(), 0, 65535));
    } else if (option == "--seed") {
      options.seed = static_cast<std::uint64_t>(number(option, value(), 0, 1LL << 62));
    } else if (option == "--results") {
      const std::string pin = value();
      const std::size_t equals = pin.rfind('=');
      if (equals == std::string::npos || equals == 0) fail("--results takes KEYWORD=N");
      options.pinnedCounts[pin.substr(0, equals)] =
          static_cast<int>(number(option, pin.substr(equals + 1), 0, 1'000'000));
    } else if (option == "--no-token") {
      options.withoutToken.insert(value());
    } else if (option == "--latency-ms") {
      options.latencyMs = static_cast<int>(number(option, value(), 0, 600'000));
    } else if (option == "--jitter-ms") {
      options.jitterMs = static_cast<int>(number(option, value(), 0, 600'000));
    } else if (option == "--busy") {
      options.busy = true;
    } else if (option == "--fail-rate") {
      options.failRate = share(option, value());
    } else if (option == "--stall-rate") {
      options.stallRate = share(option, value());
    } else if (option == "--stall-ms") {
      options.stallMs = static_cast<int>(number(option, value(), 0, 3'600'000));
    } else if (option == "--log") {
      options.logPath = value();
    } else if (option == "--dump") {
      dumpKeyword = value();
    } else {
      bool known = false;
      for (const auto& [name, target] : criteriaOptions) {
        if (option == name) {
          *target = value();
          known = true;
        }
      }
      if (!known) fail("unknown option " + std::string(option));
    }
  }
  if (options.failRate + options.stallRate > 1.0) fail("--fail-rate and --stall-rate add up to more than 1");

  if (dumpKeyword) {
    const site::Catalogue catalogue(options.seed, options.pinnedCounts, options.withoutToken);
    dump(catalogue, *dumpKeyword, criteria);
    return 0;
  }

  site::DirectorySite site(std::move(options));
  if (site.bind(port) < 0) fail("cannot listen on 127.0.0.1:" + std::to_string(port));
  std::cout << "listening on 127.0.0.1:" << site.port() << std::endl;
  std::signal(SIGPIPE, SIG_IGN);
  site.serve();
  return 0;
}
