#!/usr/bin/env bash
# The README's nginx configuration, run by Debian's nginx on the loopback in
# front of the real service started with --trusted-proxy 127.0.0.1: the
# client's address reaches /ip.html over plain HTTP and TLS, a forged
# X-Forwarded-For does not, and nginx keeps the 8 KB line limit.
# Usage: nginx_proxy.sh SERVICE README; exit 77 when nginx, openssl or curl
# is missing.
set -euo pipefail
service=$1
readme=$2
nginx=$(command -v nginx || echo /usr/sbin/nginx)
[ -x "$nginx" ] && command -v openssl >/dev/null && command -v curl >/dev/null || {
  echo "nginx, openssl or curl is missing: skipped"; exit 77; }
work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait 2>/dev/null; rm -rf "$work"' EXIT
chmod 755 "$work"

free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }
http_port=$(free_port)
tls_port=$(free_port)

mkdir "$work/files"
"$service" serve --listen 127.0.0.1:0 --files "$work/files" --db "$work/service.db" \
  --trusted-proxy 127.0.0.1 --connections-per-address 0 >"$work/access.log" 2>"$work/service.err" &
pids+=($!)
for _ in $(seq 1 50); do grep -q listening "$work/service.err" && break; sleep 0.1; done
service_port=$(grep -o 'listening on 127.0.0.1:[0-9]*' "$work/service.err" | cut -d: -f2)
[ -n "$service_port" ] || { cat "$work/service.err"; exit 1; }

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=service.maker.example.org \
  -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
# The README's block with this run's ports and certificate.
sed -n '/^```nginx$/,/^```$/p' "$readme" | sed '1d;$d' \
  | sed -e "s|listen 80;|listen 127.0.0.1:$http_port;|" \
        -e "s|listen 443 ssl;|listen 127.0.0.1:$tls_port ssl;|" \
        -e "s|server 127.0.0.1:8123;|server 127.0.0.1:$service_port;|" \
        -e "s|ssl_certificate .*|ssl_certificate $work/cert.pem;|" \
        -e "s|ssl_certificate_key .*|ssl_certificate_key $work/key.pem;|" >"$work/zelmora.conf"
grep -q "listen 127.0.0.1:$tls_port ssl;" "$work/zelmora.conf" || { echo "no nginx block in $readme"; exit 1; }
cat >"$work/nginx.conf" <<CONF
worker_processes 1;
pid $work/nginx.pid;
error_log $work/error.log;
events { worker_connections 256; }
http {
    access_log off;
    client_body_temp_path $work/body;
    proxy_temp_path $work/proxy;
    fastcgi_temp_path $work/fastcgi;
    uwsgi_temp_path $work/uwsgi;
    scgi_temp_path $work/scgi;
    include $work/zelmora.conf;
}
CONF
"$nginx" -e "$work/error.log" -p "$work" -c "$work/nginx.conf" -g 'daemon off;' &
pids+=($!)
for _ in $(seq 1 50); do curl -s -o /dev/null "http://127.0.0.1:$http_port/" && break; sleep 0.1; done

passed=0
failed=0
check() { # what expected actual
  if [ "$2" = "$3" ]; then
    echo "ok: $1"; passed=$((passed + 1))
  else
    echo "FAILED: $1: expected '$2', got '$3'"; failed=$((failed + 1))
  fi
}
check "plain HTTP through nginx shows the client" 127.0.0.5 \
  "$(curl -s --interface 127.0.0.5 "http://127.0.0.1:$http_port/ip.html")"
check "a forged X-Forwarded-For is not believed" 127.0.0.5 \
  "$(curl -s --interface 127.0.0.5 -H 'X-Forwarded-For: 203.0.113.9' "http://127.0.0.1:$http_port/ip.html")"
check "TLS on the second name" 127.0.0.6 \
  "$(curl -sk --interface 127.0.0.6 --resolve "service.maker.example.org:$tls_port:127.0.0.1" \
      "https://service.maker.example.org:$tls_port/ip.html")"
check "the service's own port ignores the header from others" 127.0.0.7 \
  "$(curl -s --interface 127.0.0.7 -H 'X-Forwarded-For: 203.0.113.9' "http://127.0.0.1:$service_port/ip.html")"
long=$(head -c 9000 /dev/zero | tr '\0' a)
check "nginx refuses a request line over 8 KB" 414 \
  "$(curl -s -o /dev/null -w '%{http_code}' "http://127.0.0.1:$http_port/sp/sendlog.php?text=$long")"
check "a reply through nginx" OK \
  "$(curl -s --interface 127.0.0.5 "http://127.0.0.1:$http_port/sp/zm.php?query=sendmessage&ID=0&theme=t&email=@&message=hi")"
check "the inbox keeps the client" yes \
  "$("$service" inbox --db "$work/service.db" | grep -q 'from 127.0.0.5' && echo yes || echo no)"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
