# SPDX-License-Identifier: GPL-3.0-or-later
# Debian's Radicale as the tests and benchmarks run it: radicale_config
# writes into FOLDER the configuration of a server on 127.0.0.1:PORT with one
# user (the password in plain text: the server lives as long as the run) and
# its storage in FOLDER/collections; start it with
#   /usr/bin/python3 -m radicale --config FOLDER/radicale.conf
radicale_config() { # folder port user password
  echo "$3:$4" > "$1/users"
  cat > "$1/radicale.conf" <<CONF
[server]
hosts = 127.0.0.1:$2
[auth]
type = htpasswd
htpasswd_filename = $1/users
htpasswd_encryption = plain
[storage]
filesystem_folder = $1/collections
[logging]
level = warning
CONF
}
