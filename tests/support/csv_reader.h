#pragma once
// CSV read back by Python's csv module, a reader that owes nothing to the
// program: every record as UTF-8 fields.

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace testing_support {

using Records = std::vector<std::vector<std::string>>;

// What python3's csv.reader reads from the output of `command` (or a file,
// with `cat`), decoded from `encoding`.
inline Records readCsvWithPython(const std::string& command, const std::string& encoding) {
  const std::string python = command +
                             " | python3 -c \"import csv,io,sys\n"
                             "for r in csv.reader(io.TextIOWrapper(sys.stdin.buffer, encoding='" +
                             encoding + "', newline='')): print(' '.join('x'+f.encode().hex() for f in r))\"";
  FILE* pipe = popen(python.c_str(), "r");
  Records records;
  std::string line;
  for (int c; pipe && (c = std::fgetc(pipe)) != EOF;) {
    if (c != '\n') {
      line += static_cast<char>(c);
      continue;
    }
    std::vector<std::string> fields;
    std::istringstream words(line);
    for (std::string word; words >> word;) {
      std::string field;
      for (std::size_t i = 1; i + 1 < word.size(); i += 2) {
        field += static_cast<char>(std::stoi(word.substr(i, 2), nullptr, 16));
      }
      fields.push_back(field);
    }
    records.push_back(fields);
    line.clear();
  }
  if (pipe) pclose(pipe);
  return records;
}

inline Records readCsvFile(const std::string& path) { return readCsvWithPython("cat '" + path + "'", "gbk"); }

}  // namespace testing_support
