// The online update: the updater that reads "updates.ini" and downloads the
// new program file, the swap of the program files, the daily check's date and
// the statistics requests.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>

namespace zel {

class IClock;
class IDownloader;
class IFileOps;
class IHttpClient;
class ISettingsStore;
struct ServiceHosts;

// What the progress windows show; "exit" tells them to close. UI thread only.
extern QString ProgressText;

// The section and key lookup of an INI file as the system's reader does it:
// names compared without regard to case, values trimmed of white space and
// of one pair of enclosing quotes, the first of equal keys wins.
class IniFile {
public:
    explicit IniFile(const QByteArray& bytes);
    bool sectionExists(const QString& section) const;
    QString readString(const QString& section, const QString& key, const QString& def) const;

private:
    struct Entry {
        QString section;
        QString key;
        QString value;
    };
    QList<Entry> m_entries;
    QStringList m_sections;
};

// Two-digit day and month, four-digit year, hours (24), minutes, seconds, ".tmp".
QString MakeTempName(const QDateTime& at);

// Whether the first bytes of a file are those of a program this platform runs
// (an ELF executable of this machine's class and architecture; a PE image on
// Windows).
bool isExecutableImage(const QByteArray& head);
// A whole program: an executable image whose headers' tables, segments and
// sections all lie within `bytes`.
bool isWholeProgram(const QByteArray& bytes);
bool isProgramFile(const QString& path);

class TInetUpdater {
public:
    // Create: the description file on the update host, version "1.0.0.0".
    // `folder` is where the temporary copy of the description goes.
    TInetUpdater(IDownloader& downloader, const IClock& clock, const QString& folder,
                 const QString& updateHost);
    virtual ~TInetUpdater() = default;

    // True when the description announces a higher version than ours; the
    // announced number goes to NewProductVersion and, only then, "File" (or
    // the given address when it lacks one) to DownloadURL. Throws
    // ConvertError when either version is no whole number.
    virtual bool CheckUpdate(QString& DownloadURL);
    // Fetches the description again and downloads the announced file to
    // UpdateResultFile; true when a whole program file for this platform is
    // there. A download that is not one stays for the next start's clean-up.
    virtual bool UpdateFile();

    QString UpdateInfoFileURL;
    QString UpdateResultFile;
    QString ProductName;
    QString ProductVersion;
    QString NewProductVersion;
    // The maker's key the download must be signed with (empty: no check), and
    // the "Signature" of the description that announced the download.
    QString PublicKey;
    QString Signature;

    // Whether the downloaded UpdateResultFile may take the program's place:
    // always without a key, otherwise only when its signature verifies. A
    // refused file stays for the next start's clean-up.
    bool SignatureAccepted() const;

private:
    IDownloader& m_downloader;
    const IClock& m_clock;
    QString m_folder;
};

// Outcome of the swap: on failure a text for the user, in the current
// language, naming what failed.
struct SwapResult {
    bool ok = false;
    QString failure;
};

// Puts "<program>.new" in the program's place and keeps the old file as
// "<program>.old". A stale ".old" goes first; the new file is made executable;
// every step is checked, and when the second rename fails the old file is put
// back. On failure the ".new" file stays for the next start's clean-up.
SwapResult swapProgramFile(IFileOps& files, const QString& program);

// The daily automatic check: true (after storing `today`) when the stored
// day differs and the automatic update is on. A store that cannot be opened
// claims nothing.
bool claimDailyCheck(ISettingsStore& store, const QString& today, bool autoUpdate);

// The statistics requests: "/ip.html", then, unless it answered exactly the
// excluded address, "/send.php?file=" + `name`. A failure of the first tells
// "IP error", of the second `failText`; both go on.
void sendStatistics(IHttpClient& http, const ServiceHosts& hosts, const QString& name,
                    const QString& failText, const std::function<void(const QString&)>& tell);

} // namespace zel
