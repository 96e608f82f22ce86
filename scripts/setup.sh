#!/usr/bin/env bash
# Installs what the build needs on a Debian machine, and nothing when it is all there.
set -euo pipefail

packages=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev libmd-dev
          qt6-base-dev qt6-base-dev-tools clang libclang-rt-dev locales)

# The window tests run under a locale that writes numbers with a decimal comma.
testLocale=de_DE.UTF-8

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
    sudo_cmd=(sudo)
fi

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Made as Debian makes a locale, so that a later run of locale-gen keeps it.
if ! locale -a 2>/dev/null | grep -qix "${testLocale/UTF-8/utf8}"; then
    echo "Making the locale $testLocale"
    if grep -q "^# *$testLocale UTF-8" /etc/locale.gen; then
        "${sudo_cmd[@]}" sed -i "s/^# *$testLocale UTF-8/$testLocale UTF-8/" /etc/locale.gen
    else
        echo "$testLocale UTF-8" | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
    fi
    "${sudo_cmd[@]}" locale-gen >/dev/null
fi
