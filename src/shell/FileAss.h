// Registering a file extension with the desktop, so that opening such a file starts this
// program with the file's path. The logic writes a small key/value layout through an
// AssociationRegistry; DesktopAssociationRegistry turns that layout into the desktop's own
// registration (a shared-mime-info package and a .desktop entry under $XDG_DATA_HOME) and has
// the desktop's tools rebuild their caches from it.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>

// The key store the association writes into: keys under one root, each with a default value.
class AssociationRegistry {
 public:
  virtual ~AssociationRegistry() = default;
  // Creates the key, or opens it when it exists. False when that fails.
  virtual bool CreateKey(const QString& subKey) = 0;
  // Stores data as the key's default value; the key must exist. False when it does not or
  // when the value cannot be stored.
  virtual bool SetDefaultValue(const QString& subKey, const QByteArray& data) = 0;
};

// Shows one message (text, buttons and icon, title). The shell passes the message box.
using AssociationMessage =
    std::function<void(const QString& text, int buttons, const QString& title)>;

constexpr int kRegistryMessageButtons = 16;  // critical icon, OK button
inline constexpr char kRegistryMessageTitle[] = "DLL/OCX Register";

// Copy of the last ShowErrors argument: the registry steps report only while it is set.
extern bool ShowRegistryErrors;

// Creates (or opens) subKey. On failure shows the registry's message when ShowRegistryErrors.
bool CreateRegKey(AssociationRegistry& registry, const AssociationMessage& message,
                  const QString& subKey);

// Appends one zero character to value (in the caller's variable) and stores it, zero
// included, as subKey's default value. On failure shows the matching message when
// ShowRegistryErrors.
bool SetRegKeyDefaultValue(AssociationRegistry& registry, const AssociationMessage& message,
                           const QString& subKey, QString& value);

// Registers extension -> className -> description, the verb's command "appPath params %1" and,
// when setIcon, the icon. Extension gets its leading "." and verb becomes the command key in
// the caller's variables; params is rewritten as " " + trimmed params when not empty. Returns
// True when it got as far as writing the keys; False when appPath is not a file, the extension
// holds an illegal character, or the registry failed hard.
bool CreateFileAssociation(AssociationRegistry& registry, const AssociationMessage& message,
                           QString& extension, QString className, QString description,
                           QString& verb, QString appPath, QString& params, bool setIcon,
                           QString iconPath, bool showErrors);

// Runs one of the desktop's own tools. False when it is not installed, fails, or has not ended
// within its time.
class DesktopTools {
 public:
  virtual ~DesktopTools() = default;
  virtual bool Run(const QString& program, const QStringList& arguments) = 0;
};

// The tools as installed (looked up in PATH). One that overruns waitMs is stopped, so a hung
// tool never holds up the start-up for longer than that.
class ProcessDesktopTools : public DesktopTools {
 public:
  explicit ProcessDesktopTools(int waitMs = 5000) : waitMs_(waitMs) {}
  bool Run(const QString& program, const QStringList& arguments) override;

 private:
  int waitMs_;
};

// Keeps the keys in memory and writes the desktop's registration from them on Apply():
//   <dataHome>/mime/packages/corvana-cps.xml        a mime type globbing "*<extension>"
//   <dataHome>/applications/corvana-cps.desktop     Exec = "<program>" %f, Icon = the icon
// then runs update-mime-database and update-desktop-database on those two folders, where they
// are installed, so that the desktop knows the type at once.
// dataHome is $XDG_DATA_HOME, or ~/.local/share when that is not set.
class DesktopAssociationRegistry : public AssociationRegistry {
 public:
  // tools: the desktop's tools; nullptr for the installed ones.
  DesktopAssociationRegistry(QString dataHome, QString programPath, DesktopTools* tools = nullptr);

  bool CreateKey(const QString& subKey) override;
  bool SetDefaultValue(const QString& subKey, const QByteArray& data) override;

  // The stored default value of a key, without its terminating zero.
  QString Value(const QString& subKey) const;
  bool HasKey(const QString& subKey) const { return keys_.contains(subKey.toLower()); }

  // Writes the two files for the extension key named (".cpg") and refreshes the caches. False
  // when the files cannot be written or the keys do not describe a complete association; a
  // cache that cannot be refreshed changes nothing.
  bool Apply(const QString& extension) const;

  static QString DefaultDataHome();
  static constexpr char kMimeType[] = "application/x-corvana-codeplug";

 private:
  QString dataHome_;
  QString programPath_;
  DesktopTools* tools_;
  QMap<QString, QByteArray> keys_;  // key names are case-insensitive, as in the key store
};
