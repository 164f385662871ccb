#!/usr/bin/env python3
"""Walks the stand-in site as a client would, written apart from the program:
for several searches it reads every result page in both address forms and the
contact pages, and checks that what it finds is exactly what --dump says."""

import concurrent.futures
import csv
import http.client
import io
import subprocess
import sys
import urllib.parse

SITE = sys.argv[1]
PINS = {"LED灯": 41, "阀门": 40, "无结果": 0, "轴承": 10_050, "五金 工具": 333}
SEARCHES = [
    ("LED灯", {}),
    ("阀门", {}),
    ("无结果", {}),
    ("轴承", {}),
    ("轴承", {"province": "19_26_2", "is_v": "1"}),
    ("五金 工具", {"busmode": "3", "employ": "2"}),
    ("五金 工具", {"province": "10", "city": "69"}),
]
KEYS = ["province", "city", "busmode", "is_v", "employ", "annulsale", "cateid"]


def pin_options():
    return [arg for k, n in PINS.items() for arg in ("--results", f"{k}={n}")]


def get(port, host, target):
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=30)
    connection.request("GET", target, headers={"Host": host})
    body = connection.getresponse().read()
    connection.close()
    return body.decode("utf-8")


def between(text, left, right):
    """The text between the first left marker and the next right marker, ASCII case ignored."""
    folded = text.lower()
    start = folded.find(left.lower())
    if start < 0:
        return ""
    start += len(left)
    end = folded.find(right.lower(), start)
    return "" if end < 0 else text[start:end]


def no_spaces(text):
    return text.replace(" ", "").replace("\u3000", "")


def query(criteria):
    return "&".join(f"{k}={criteria.get(k, '')}" for k in KEYS)


def read_page(port, search, slug, keyword, criteria, n):
    shop = f"shop.localhost:{port}"
    first = get(port, search, f"/s-{slug}.html?{query(criteria)}&page={n}")
    wd = urllib.parse.quote(keyword, safe="-.")
    second = get(port, search, f"/search-s?page={n}&wd={wd}&{query(criteria)}&goldkwd={wd}")
    joined = between(first, "执照已审核", "我是供应商") + second
    rows = []
    for block in joined.split("商铺成长等级"):
        name = between(block, shop + '" target="_blank">', "</a>")
        if name:
            name = no_spaces(name.replace("<em>", "").replace("</em>", ""))
            rows.append([str(n), between(block, '0" href="http://', "."), name])
    return rows


def read_contact(port, company_id):
    page = get(port, f"{company_id}.shop.localhost:{port}", "/contact.html")

    def first(*tries):
        return next((t for t in tries if t), "")

    def b(left, right):
        return no_spaces(between(page, left, right))

    return [
        first(b("<strong>", "</strong>"), b("<title>", ":"),
              b(">\r\n" + " " * 31 + "<span>", "<").replace("&nbsp;", "")),
        first(b("手机：<small>", "</small>"), b("</br>手机:", "<")),
        first(b("电话：<span>", "</span>"), b("<p>电话：", "<"), b("<span>电话:", "<")),
        b("传真：<span>", "<"),
        b("邮箱：<span>", "<"),
        b("&uin=", "&"),
        b("地址： <span>", "</span>").replace("\r\n", ""),
    ]


def main():
    server = subprocess.Popen([SITE, "--port", "0", *pin_options()], stdout=subprocess.PIPE, text=True)
    failures = 0
    try:
        port = int(server.stdout.readline().strip().rsplit(":", 1)[1])
        search = f"search.localhost:{port}"
        with concurrent.futures.ThreadPoolExecutor(16) as pool:
            for keyword, criteria in SEARCHES:
                dump_args = [f"--{k.replace('_', '-')}={v}" for k, v in criteria.items()]
                dump_args = [a for arg in dump_args for a in arg.split("=", 1)]
                dumped = subprocess.run([SITE, "--dump", keyword, *pin_options(), *dump_args],
                                        capture_output=True, text=True, check=True).stdout
                truth = list(csv.reader(io.StringIO(dumped, newline="")))[1:]

                probe = get(port, search, "/search?wd=" + urllib.parse.quote(keyword, safe="-."))
                slug = between(probe, "s-", ".")
                count = int(between(get(port, search, f"/s-{slug}.html?{query(criteria)}"),
                                    "共找到<span>", "</span>条"))
                pages = (count + 39) // 40
                walked = [row for rows in pool.map(
                    lambda n: read_page(port, search, slug, keyword, criteria, n), range(1, pages + 1))
                    for row in rows]
                listed = [row[:3] for row in truth]
                step = max(1, len(truth) // 300)
                sample = truth[::step]
                contacts = list(pool.map(lambda row: read_contact(port, row[1]), sample))
                bad_contacts = sum(1 for row, read in zip(sample, contacts) if row[3:] != read)
                ok = count == len(truth) and walked == listed and bad_contacts == 0
                failures += not ok
                print(f"{'ok' if ok else 'FAIL'}: {keyword} {criteria}: {count} listings, "
                      f"{len(walked)} walked, {len(sample)} contact pages, {bad_contacts} differ")
    finally:
        server.terminate()
        server.wait()
    print(f"{len(SEARCHES) - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
