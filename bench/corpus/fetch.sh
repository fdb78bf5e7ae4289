#!/bin/sh
# SPDX-License-Identifier: MIT
# Fetches the measuring corpus: real hand-written and templated pages from Debian packages,
# unpacked into build-corpus/root/PACKAGE/. Nothing fetched goes into the repository
# (/build*/ is ignored). Needs apt-get (run `apt-get update` first where the lists are old)
# and dpkg-deb. Usage: bench/corpus/fetch.sh [FOLDER [PACKAGE...]]   (default: build-corpus,
# and the packages below; name others to fetch a second corpus to check figures against)
set -eu

folder=${1:-build-corpus}
[ $# -gt 0 ] && shift

# Templates of web applications and site generators, documentation sites written by hand or
# generated from other sources, and small old-style pages; each package is one or more sites.
packages="
python3-django python3-django-debug-toolbar python3-django-crispy-forms
python3-django-hyperkitty python3-django-postorius
python3-sphinx sphinx-common sphinx-rtd-theme-common mkdocs pelican ikiwiki
jekyll-theme-minima python3-notebook python3-jupyter-server
phpmyadmin roundcube-core roundcube-skin-larry roundcube-skin-classic roundcube-plugins
dokuwiki munin awstats mercurial-common cups-server-common privoxy squid-langpack
apache2-data
debian-handbook debian-reference-en debian-faq developers-reference debian-policy
installation-guide-amd64
apache2-doc postfix-doc exim4-doc-html ant-doc tomcat10-docs lynx-common fetchmail
sqlite3-doc libxml2-doc graphviz-doc imagemagick-6-doc bind9-doc zsh-doc gnuplot-doc
octave-doc r-doc-html libpcre2-dev python3.11-doc gimp-help-en
"
[ $# -gt 0 ] && packages="$*"

mkdir -p "$folder/debs" "$folder/root"
cd "$folder/debs"
for package in $packages; do
    if ! ls "${package}"_*.deb >/dev/null 2>&1; then
        apt-get download "$package" >/dev/null 2>&1 || echo "fetch.sh: cannot download $package" >&2
    fi
done
cd ..
for deb in debs/*.deb; do
    package=$(basename "$deb" | sed 's/_.*//')
    [ -d "root/$package" ] && continue
    mkdir -p "root/$package.part"
    dpkg-deb -x "$deb" "root/$package.part" && mv "root/$package.part" "root/$package"
done
echo "$(ls root | wc -l) packages unpacked in $folder/root"
