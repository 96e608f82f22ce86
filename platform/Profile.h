#pragma once

#include <string>

// The settings profile: an INI file of sections and keys. Every write goes to the
// file at once. The file is read afresh on every call, as the profile functions of
// the window system do.
class Profile {
public:
    explicit Profile(std::string path);

    // The application's profile: <name>.ini under $XDG_CONFIG_HOME, or ~/.config when
    // that is not set.
    static Profile forApplication(const std::string& name);
    static std::string defaultPath(const std::string& name);

    const std::string& path() const { return path_; }

    // The leading decimal number of the key's text (with an optional sign); the default
    // when the key is absent or holds no number.
    int getInt(const std::string& section, const std::string& key, int defaultValue) const;
    std::string getString(const std::string& section, const std::string& key,
                          const std::string& defaultValue) const;
    // False when the file cannot be written.
    bool writeInt(const std::string& section, const std::string& key, int value) const;
    bool writeString(const std::string& section, const std::string& key, const std::string& value) const;

private:
    std::string path_;
};
