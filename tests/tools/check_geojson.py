#!/usr/bin/env python3
"""Checks that a file is a GeoJSON FeatureCollection of points (RFC 7946):
every feature a Point with [longitude, latitude] in range, properties an
object whose latitude/longitude agree with the coordinates. Prints the
number of features; exits 1 with the reason on the first fault."""
import json
import sys

def fail(reason):
    print(reason, file=sys.stderr)
    sys.exit(1)

doc = json.load(open(sys.argv[1], encoding="utf-8"))
if doc.get("type") != "FeatureCollection" or not isinstance(doc.get("features"), list):
    fail("not a FeatureCollection")
for feature in doc["features"]:
    geometry, properties = feature.get("geometry") or {}, feature.get("properties")
    coordinates = geometry.get("coordinates")
    if feature.get("type") != "Feature" or geometry.get("type") != "Point":
        fail("not a Point feature: %r" % feature)
    if not (isinstance(coordinates, list) and len(coordinates) == 2
            and all(isinstance(c, (int, float)) for c in coordinates)):
        fail("bad coordinates: %r" % coordinates)
    lon, lat = coordinates
    if not (-180 <= lon <= 180 and -90 <= lat <= 90):
        fail("coordinates out of range: %r" % coordinates)
    if not isinstance(properties, dict) or properties.get("longitude") != lon \
            or properties.get("latitude") != lat:
        fail("properties do not match the point: %r" % feature)
print(len(doc["features"]))
