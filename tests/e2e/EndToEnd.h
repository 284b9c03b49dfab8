#pragma once
// The reader's main job end to end: the marketplace simulator on loopback,
// a program folder made by the sibling stand-in, and qvreader-cli run as the
// user would run it, its log lines and the stored rows read back.

#include <map>
#include <string>
#include <vector>

namespace qv::test {

// A simulator of its own for the calling process, stopped on destruction.
class Simulator {
public:
    explicit Simulator(const std::string& config);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    bool Running() const { return port_ != 0; }
    const std::string& State() const { return state_; }
    // The reader's network configuration for this simulator.
    std::string ClientConfig() const;
    // Rows the simulator holds per nickname (its status request).
    std::map<std::string, int> RowsPerAccount() const;
    // Adds `count` rows dated today to the account; false when refused.
    bool AddTransactions(const std::string& nick, int count) const;
    // Arms `count` rows dated today to arrive just before the account's
    // `request`-th report request from now is answered.
    bool AddDuringCheck(const std::string& nick, int count, int request) const;
    // The sign-out requests each account has seen.
    std::map<std::string, int> SignOuts() const;
    int Port() const { return port_; }

private:
    std::string Control(const std::string& path, const std::string& body) const;

    std::string state_;
    int port_ = 0;
};

struct CliRun {
    int exitCode = -1;
    std::vector<std::string> lines;  // standard output, a line each
    std::string errors;              // standard error
};

// A program folder with account.ini, the group databases and the network
// configuration, made from a stand-in description. With a leaf name the
// program folder is that folder inside a scratch folder of its own (Root()),
// which goes with it.
class ProgramFolder {
public:
    ProgramFolder(const std::string& description, const Simulator& simulator,
                  const std::string& leaf = "");
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    bool Made() const { return made_; }
    const std::string& Path() const { return path_; }
    const std::string& Root() const { return root_; }
    CliRun RunCheck(const std::string& arguments = "") const;
    // Starts the program with the arguments, waits until a line of its output
    // ends with `awaited` (at most `seconds`), then interrupts it as Ctrl+C
    // does and waits for it to end. The exit code is -1 when the line never
    // came; the program is then killed.
    CliRun RunUntilThenInterrupt(const std::string& arguments, const std::string& awaited,
                                 int seconds) const;
    // Under Wine: copies QVReader.exe and the sibling stand-in into the
    // folder and runs the window driver on it (tests/wine/WindowCheckDriver.cpp
    // tells its arguments and its lines).
    // Its screenshots go into artifactFolder (a native path).
    CliRun RunWindowDriver(const std::string& artifactFolder, const std::string& arguments) const;
    // Rows stored for the account; -1 when the table cannot be read.
    int StoredRows(const std::wstring& file, const std::wstring& password,
                   const std::wstring& nick) const;
    // Replaces QVNetwork.ini, where the reader finds the marketplace.
    void WriteNetworkConfig(const std::string& text) const;
    // Runs SQL on a group database past the reader, as a damaged file or
    // another program would leave it; false when the statement failed.
    bool RunSql(const std::wstring& file, const std::string& sql) const;
    // The keys of a section of QVSetting.ini.
    std::map<std::string, std::string> SettingsSection(const std::string& section) const;

private:
    std::string root_;
    std::string path_;
    bool made_ = false;
};

// A log line without its time stamp ("hh:mm:ss  MM/DD/YYYY   "); the
// separator and the notice's continuation lines stay as they are.
std::string WithoutStamp(const std::string& line);
std::vector<std::string> WithoutStamps(const std::vector<std::string>& lines);
// The lines that name the account ("[nick] ..."), in order.
std::vector<std::string> LinesOf(const std::vector<std::string>& lines, const std::string& nick);

}  // namespace qv::test
