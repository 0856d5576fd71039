#pragma once
// Where the draw database and the settings file live. A portable copy (its
// folder writable, or already holding the database) keeps the database beside
// the program and the settings file in the current folder; an installed
// program keeps both in the user's data folder, $XDG_DATA_HOME/Numbers4Marvo.
// The program and the command-line tool resolve the same default.
#include <string>

namespace n4 {

inline constexpr const char* kDataFolderName = "Numbers4Marvo";
// The settings file: ten lines key=True/False (see SettingsFile.h).
inline constexpr const char* kSettingsFileName = "ナンバーズ4マーヴォ.ini";

struct DataLocation {
    std::string databaseFolder; // holds Numbers4Marvo.mdb
    std::string databasePath;
    std::string settingsPath;
    bool portable = true;
};

// What the choice depends on, gathered from the disk and the environment.
struct DataLocationFacts {
    std::string programFolder;
    bool programFolderWritable = false;
    bool databaseBesideProgram = false;
    bool systemProgramFolder = false; // /usr/bin and the like: installed even for root
    std::string xdgDataHome;          // may be empty or relative (then ignored)
    std::string home;                 // the user's home folder
};

// The rule alone, for any facts.
DataLocation resolveDataLocation(const DataLocationFacts& facts);

// The facts of this machine and user for a program in programFolder.
DataLocationFacts gatherDataLocationFacts(const std::string& programFolder);

inline DataLocation findDataLocation(const std::string& programFolder) {
    return resolveDataLocation(gatherDataLocationFacts(programFolder));
}

// Creates the database folder (and missing parents, private to the user) of an
// installed program; false with a Japanese message when that fails.
bool prepareDataFolder(const DataLocation& location, std::string& message);

// Earlier versions remembered the database's key in the user's cache folder
// ($XDG_CACHE_HOME/Numbers4Marvo/database-keys, by default under ~/.cache).
// The program no longer writes it; this removes such a file, and the folder
// when nothing else is in it. True when there was one.
bool removeLeftoverKeyFile();

} // namespace n4
