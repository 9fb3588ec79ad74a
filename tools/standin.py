#!/usr/bin/env python3
"""Stand-in for the translation service, for tests on this machine.

Serves GET /api/trans/vip/translate as the real service does: it checks the
account (appid, then sign = MD5 of appid + q + salt + key over UTF-8) and
answers in JSON, non-ASCII written as \\uXXXX and "/" as "\\/", one
trans_result entry per non-blank line of q, from a small dictionary (unknown
words come back as they are). Errors come back with status 200, as the
service sends them:
    {"error_code":"54000","error_msg":"PARAM_FROM_TO_OR_Q_EMPTY"}  empty q
    {"error_code":"52003","error_msg":"UNAUTHORIZED USER"}         unknown appid
    {"error_code":"54001","error_msg":"Invalid Sign"}              bad sign

Usage:
    standin.py [--host 127.0.0.1] [--port 0] [--appid ID] [--key KEY]
               [--log FILE] [--fault MODES] [--port-file FILE [--detach]]
    standin.py --stop FILE

Once listening it prints one line, "PORT REFUSED_PORT PID", to stdout (and,
with --port-file, writes the same line to that file). REFUSED_PORT is a port
on the same host that the stand-in holds bound but never listens on, so a
connection to it is refused. --detach runs the server in the background and
returns once the port file is written; --stop FILE ends the server named in
a port file and removes the file.

Every request is logged, to --log or else to stdout: a line with the time
and the peer, the request line and the header lines exactly as received,
"query: " and the raw query string, then a blank line.

Fault modes. A request whose q (after percent-decoding) is "fault:MODES" or
"fault:MODES TEXT", or every request when --fault MODES is given, skips the
account checks and is answered by MODES: separated by commas, each NAME or
NAME=N. The success reply then translates TEXT (the whole q when there is no
TEXT), so "fault:slow=2000 hello" is a slow reply with dst "\u4f60\u597d".
    echo        the body is the request line and header lines as received
    big=N       a success reply of exactly N bytes (default 2097152)
    404, 500    that status, with a short HTML body
    empty       status 200 with an empty body
    zero=N      a zero byte inserted at body offset N (default 4)
    chunked=N   Transfer-Encoding: chunked, N-byte chunks (default 64)
    slow=MS     wait MS ms (default 2000) before sending anything
    drip=MS     send the body one byte at a time, MS ms apart (default 20)
    drop=K      send K body bytes, pause 300 ms, then reset the connection
    cut=K       send K body bytes, then close the connection in good order
    stall=K     send K body bytes, go silent for --stall-seconds (default
                30), then send the rest: only a client that gives up on a
                silent connection sees the reply cut short
Body offsets in drop, cut and stall count the bytes on the wire, chunk framing
included. Without big, echo, 404, 500 or empty the body is the normal
success reply for q. An unknown mode gives status 400.
Examples: q=fault:slow=2000   q=fault:big=1500,chunked   q=fault:big=1500,drop=700
"""
import argparse
import datetime
import hashlib
import json
import os
import re
import socket
import socketserver
import sys
import threading
import time
import urllib.parse

API_PATH = "/api/trans/vip/translate"

DICTIONARY = {
    "hello": "你好",
    "world": "世界",
    "hello world": "你好，世界",
    "good morning": "早上好",
    "thank you": "谢谢",
    "apple": "苹果",
    "translate": "翻译",
    "and/or": "和/或",
    "你好": "Hello",
    "世界": "World",
    "你好世界": "Hello World",
    "谢谢": "Thank you",
    "翻译": "Translate",
    "苹果": "Apple",
}

STATUS_TEXT = {200: "OK", 400: "Bad Request", 404: "Not Found", 405: "Method Not Allowed",
               500: "Internal Server Error"}

FAULT_DEFAULTS = {"echo": None, "404": None, "500": None, "empty": None, "big": 2097152,
                  "zero": 4, "chunked": 64, "slow": 2000, "drip": 20, "drop": 0, "cut": 0, "stall": 0}


def service_json(obj):
    # The service escapes every non-ASCII character and every slash.
    return json.dumps(obj, ensure_ascii=True, separators=(",", ":")).replace("/", "\\/").encode("ascii")


def is_chinese(text):
    return any("\u4e00" <= c <= "\u9fff" for c in text)


def translate_line(line, target):
    key = line.strip().lower()
    if key in DICTIONARY:
        return DICTIONARY[key]
    words = [DICTIONARY.get(w.lower(), w) for w in line.split()]
    return ("" if target == "zh" else " ").join(words)


def success_reply(q, source, target):
    lines = [line for line in re.split(r"\r?\n", q) if line.strip()]
    if source == "auto":
        source = "zh" if is_chinese(q) else "en"
    if target == "auto":
        target = "en" if source == "zh" else "zh"
    results = [{"src": line, "dst": translate_line(line, target)} for line in lines]
    return service_json({"from": source, "to": target, "trans_result": results})


def error_reply(code, message):
    return service_json({"error_code": code, "error_msg": message})


def big_reply(size):
    head = b'{"from":"en","to":"zh","trans_result":[{"src":"big","dst":"'
    tail = b'"}]}'
    fill = max(0, size - len(head) - len(tail))
    return (head + (b"0123456789" * (fill // 10 + 1))[:fill] + tail)[:size]


def parse_fault(modes_text):
    """'a,b=3' -> {'a': default, 'b': 3}; raises ValueError on an unknown mode."""
    modes = {}
    for item in filter(None, modes_text.split(",")):
        name, _, value = item.partition("=")
        if name not in FAULT_DEFAULTS:
            raise ValueError("unknown fault mode " + name)
        modes[name] = int(value) if value else FAULT_DEFAULTS[name]
    return modes


def parse_query(query):
    """Raw query -> {key: bytes}, first occurrence wins; '+' is a space, as the service reads it."""
    values = {}
    for pair in filter(None, query.split("&")):
        key, _, value = pair.partition("=")
        key = urllib.parse.unquote(key)
        if key not in values:
            values[key] = urllib.parse.unquote_to_bytes(value.replace("+", " "))
    return values


class Handler(socketserver.StreamRequestHandler):
    def handle(self):
        try:
            self.answer()
        except (BrokenPipeError, ConnectionResetError):
            pass  # the client went away first: a test that gave up on a slow reply

    def answer(self):
        head = self.read_head()
        if not head:
            return
        request_line = head[0].decode("latin-1").rstrip("\r\n")
        parts = request_line.split(" ")
        target = parts[1] if len(parts) == 3 else ""
        path, _, query = target.partition("?")
        self.server.log(self.client_address, head, query)
        if parts[0] != "GET" or len(parts) != 3:
            return self.send(405, b"<html><body>405 Method Not Allowed</body></html>", "text/html")
        if path != API_PATH:
            return self.send(404, b"<html><body>404 Not Found</body></html>", "text/html")
        params = parse_query(query)
        q = params.get("q", b"").decode("utf-8", "replace")
        fault = self.server.fault
        asked = re.match(r"fault:(\S*)\s*(.*)", q, re.S)
        if asked:
            fault = fault + "," + asked.group(1)
            q = asked.group(2) or q
        try:
            modes = parse_fault(fault)
        except ValueError as error:
            return self.send(400, str(error).encode(), "text/plain")
        if not modes:
            return self.send(200, self.account_reply(params, q))
        self.send_fault(modes, head, params, q)

    def read_head(self):
        head = []
        while len(head) < 200:
            line = self.rfile.readline(65537)
            if not line:
                return head if head else None
            head.append(line)
            if line in (b"\r\n", b"\n"):
                break
        return head

    def account_reply(self, params, q):
        source = params.get("from", b"").decode("ascii", "replace")
        target = params.get("to", b"").decode("ascii", "replace")
        if not q or not source or not target:
            return error_reply("54000", "PARAM_FROM_TO_OR_Q_EMPTY")
        appid = params.get("appid", b"")
        if appid != self.server.appid.encode():
            return error_reply("52003", "UNAUTHORIZED USER")
        digest = hashlib.md5(appid + params["q"] + params.get("salt", b"") + self.server.key.encode())
        if params.get("sign", b"").decode("ascii", "replace") != digest.hexdigest():
            return error_reply("54001", "Invalid Sign")
        return success_reply(q, source, target)

    def send_fault(self, modes, head, params, q):
        status, content_type = 200, "application/json"
        if "echo" in modes:
            body, content_type = b"".join(head), "text/plain"
        elif "404" in modes or "500" in modes:
            status = 404 if "404" in modes else 500
            body = ("<html><body>%d %s</body></html>" % (status, STATUS_TEXT[status])).encode()
            content_type = "text/html"
        elif "empty" in modes:
            body = b""
        elif "big" in modes:
            body = big_reply(modes["big"])
        else:
            body = success_reply(q, params.get("from", b"auto").decode("ascii", "replace") or "auto",
                                 params.get("to", b"auto").decode("ascii", "replace") or "auto")
        if "zero" in modes:
            body = body[:modes["zero"]] + b"\0" + body[modes["zero"]:]
        if "slow" in modes:
            time.sleep(modes["slow"] / 1000)
        chunk = modes.get("chunked")
        if chunk:
            wire = b"".join(b"%x\r\n%s\r\n" % (len(body[i:i + chunk]), body[i:i + chunk])
                            for i in range(0, len(body), chunk)) + b"0\r\n\r\n"
            length_header = "Transfer-Encoding: chunked"
        else:
            wire = body
            length_header = "Content-Length: %d" % len(body)
        self.wfile.write(self.status_head(status, content_type, length_header))
        for ending in ("drop", "cut", "stall"):
            if ending in modes:
                self.wfile.write(wire[:modes[ending]])
                self.wfile.flush()
                if ending == "drop":
                    time.sleep(0.3)
                    self.reset_connection()
                elif ending == "stall":
                    time.sleep(self.server.stall_seconds)
                    self.wfile.write(wire[modes[ending]:])
                return
        if "drip" in modes:
            for i in range(len(wire)):
                self.wfile.write(wire[i:i + 1])
                self.wfile.flush()
                time.sleep(modes["drip"] / 1000)
            return
        self.wfile.write(wire)

    def reset_connection(self):
        self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, b"\1\0\0\0\0\0\0\0")
        self.connection.close()

    @staticmethod
    def status_head(status, content_type, length_header):
        return ("HTTP/1.1 %d %s\r\nContent-Type: %s;charset=utf-8\r\n%s\r\nConnection: close\r\n\r\n"
                % (status, STATUS_TEXT[status], content_type, length_header)).encode("ascii")

    def send(self, status, body, content_type="application/json"):
        self.wfile.write(self.status_head(status, content_type, "Content-Length: %d" % len(body)) + body)


class Server(socketserver.ThreadingTCPServer):
    allow_reuse_address = True
    daemon_threads = True

    def __init__(self, options, log_file):
        super().__init__((options.host, options.port), Handler)
        self.appid, self.key, self.fault = options.appid, options.key, options.fault
        self.stall_seconds = options.stall_seconds
        self.log_file = log_file
        self.log_lock = threading.Lock()

    def log(self, peer, head, query):
        stamp = datetime.datetime.now().isoformat(timespec="milliseconds")
        text = "--- %s %s:%d\n%squery: %s\n\n" % (
            stamp, peer[0], peer[1], b"".join(head).decode("latin-1").replace("\r\n", "\n"), query)
        with self.log_lock:
            self.log_file.write(text)
            self.log_file.flush()


def stop(port_file):
    with open(port_file) as f:
        pid = int(f.read().split()[2])
    try:
        os.kill(pid, 15)
    except ProcessLookupError:
        pass
    os.remove(port_file)


def main():
    parser = argparse.ArgumentParser(description="Stand-in for the translation service.")
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--appid", default="52718364950127384")
    parser.add_argument("--key", default="Hq7ZrW2mTfo9YcNp_Lx3")
    parser.add_argument("--log", help="append the request log here instead of stdout")
    parser.add_argument("--fault", default="", help="fault modes for every request")
    parser.add_argument("--stall-seconds", type=float, default=30)
    parser.add_argument("--port-file", help="write 'PORT REFUSED_PORT PID' here once listening")
    parser.add_argument("--detach", action="store_true", help="serve in the background (needs --port-file)")
    parser.add_argument("--stop", metavar="PORT_FILE", help="stop the server named in PORT_FILE")
    options = parser.parse_args()
    if options.stop:
        return stop(options.stop)
    parse_fault(options.fault)
    if options.detach:
        if not options.port_file:
            parser.error("--detach needs --port-file")
        if os.path.exists(options.port_file):
            os.remove(options.port_file)
        if os.fork():
            for _ in range(1000):
                if os.path.exists(options.port_file):
                    return
                time.sleep(0.01)
            sys.exit("the stand-in did not start")
        os.setsid()
        devnull = os.open(os.devnull, os.O_RDWR)
        for fd in (0, 1, 2):
            os.dup2(devnull, fd)

    log_file = open(options.log, "a", encoding="utf-8") if options.log else sys.stdout
    server = Server(options, log_file)
    refused = socket.socket()
    refused.bind((options.host, 0))
    line = "%d %d %d\n" % (server.server_address[1], refused.getsockname()[1], os.getpid())
    if options.port_file:
        with open(options.port_file + ".tmp", "w") as f:
            f.write(line)
        os.replace(options.port_file + ".tmp", options.port_file)
    sys.stdout.write(line)
    sys.stdout.flush()
    server.serve_forever()


if __name__ == "__main__":
    main()
