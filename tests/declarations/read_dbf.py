#!/usr/bin/env python3
"""Reads a dBASE table with an independent reader and prints its fields and
records as JSON: {"fields": [[name, type, length, decimals], ...],
"records": [{name: value, ...}, ...]}; dates as "YYYY-MM-DD", empty values as null."""
import datetime
import json
import sys

import dbfread

table = dbfread.DBF(sys.argv[1], encoding="cp1250", char_decode_errors="strict")
fields = [[f.name, f.type, f.length, f.decimal_count] for f in table.fields]


def plain(value):
    if isinstance(value, datetime.date):
        return value.isoformat()
    return value


records = [{name: plain(value) for name, value in record.items()} for record in table]
json.dump({"fields": fields, "records": records}, sys.stdout, ensure_ascii=False)
