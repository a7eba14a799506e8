// The program's built-in settings: four name -> value tables (bool, int, double, text).
// Nothing is read from files or the command line; the entry point writes the defaults itself.
//
//   Settings s;  s.getInt("window_width") = 1024;   // get-or-insert, returns a reference
//   int w = s.getInt("window_width");
#pragma once

#include <map>
#include <string>

namespace Quorvel {

class Settings {
public:
    // Each accessor inserts a missing name with the type's zero value and returns the stored value.
    bool& getBool(const std::string& name) { return bools[name]; }
    int& getInt(const std::string& name) { return ints[name]; }
    double& getDouble(const std::string& name) { return doubles[name]; }
    std::string& getString(const std::string& name) { return strings[name]; }

private:
    std::map<std::string, bool> bools;
    std::map<std::string, int> ints;
    std::map<std::string, double> doubles;
    std::map<std::string, std::string> strings;
};

// Writes the program's defaults: a 1024 x 768 window, full screen only in the full-screen build.
void writeDefaultSettings(Settings& settings, bool fullscreen);

}  // namespace Quorvel
