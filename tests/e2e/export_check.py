"""Checks a record export as a script would use it.

usage: export_check.py TABLE CSV JSON

The CSV must read with pandas into numeric columns; the JSON must carry the
same values; and every number must be the value the table's text shows, read
here from the text on its own (a current in A or mA, a signed percentage, a
ratio "primary/rated A").
"""
import json
import sys
from decimal import Decimal

import pandas

NUMERIC = ["number", "primary_A", "secondary_R_A", "secondary_S_A", "secondary_T_A",
           "ratio_error_percent", "set_primary_A", "rated_secondary_A",
           "measured_ratio_primary_A"]
CURRENTS = ["primary_A", "secondary_R_A", "secondary_S_A", "secondary_T_A"]
READINGS = ["primary", "secondary R", "secondary S", "secondary T"]


def amperes(text):
    if text in ("OL", "err"):
        return None
    if text.endswith("mA"):
        return Decimal(text[:-2]) / 1000
    return Decimal(text[:-1])


def main(table_path, csv_path, json_path):
    problems = []
    frame = pandas.read_csv(csv_path, dtype={"channel": str, "status": str},
                            keep_default_na=False, na_values={c: [""] for c in NUMERIC})
    for column in NUMERIC:
        if not pandas.api.types.is_numeric_dtype(frame[column]):
            problems.append(f"{column} is {frame[column].dtype}, not a number")

    rows = {}
    with open(csv_path, newline="") as f:
        import csv
        for row in csv.DictReader(f):
            rows[int(row["number"])] = row
    objects = json.load(open(json_path), parse_float=Decimal)
    if len(objects) != len(rows):
        problems.append(f"{len(objects)} JSON objects, {len(rows)} CSV rows")
    for o in objects:
        row = rows.get(o["number"], {})
        for key, value in o.items():
            text = "" if value is None else str(value)
            if text != row.get(key):
                problems.append(f"record {o['number']} {key}: JSON {text!r}, CSV {row.get(key)!r}")

    lines = [l for l in open(table_path, newline="").read().split("\r\n") if l.startswith("NO.")]
    if len(lines) != len(rows):
        problems.append(f"{len(lines)} table lines, {len(rows)} CSV rows")
    for line in lines:
        words = line.split()
        number = int(words[0][3:])
        row = rows[number]
        for column, reading, text in zip(CURRENTS, READINGS, words[1:5]):
            value = amperes(text)
            if value is None:
                marker = "overload" if text == "OL" else "measuring error"
                if row[column] != "" or f"{reading} {marker}" not in row["status"]:
                    problems.append(f"record {number} {column}: {text} but {row[column]!r}")
            elif Decimal(row[column]) != value:
                problems.append(f"record {number} {column}: {text} but {row[column]}")
        error = words[5]
        if error == "--%":
            ok = row["ratio_error_percent"] == "" and "no ratio error" in row["status"]
        else:
            ok = Decimal(row["ratio_error_percent"]) == Decimal(error[:-1])
        if not ok:
            problems.append(f"record {number}: F.Er {error} but {row['ratio_error_percent']!r}")
        primary, rated = words[6][:-1].split("/")
        if Decimal(row["rated_secondary_A"]) != Decimal(rated):
            problems.append(f"record {number}: rated {rated} but {row['rated_secondary_A']}")
        measured = row["measured_ratio_primary_A"]
        if (primary == "---") != (measured == "") or (primary != "---" and Decimal(measured) != Decimal(primary)):
            problems.append(f"record {number}: ratio {words[6]} but {measured!r}")
        phase = " ".join(words[7:])
        if row["channel"] != (phase if phase in ("R", "S", "T") else ""):
            problems.append(f"record {number}: phase {phase} but {row['channel']!r}")
    for p in problems[:20]:
        print(p)
    print(f"{len(rows)} records checked, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:4]))
