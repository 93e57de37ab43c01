"""Reads the VTK files of a korvant job back with VTK's own reader, for the tests.

    vtk_readback.py JOB.pvd ARRAY...

Parses the collection, reads every StructuredGrid file it names in its order, and prints,
one line each: the collection's dataset count; per dataset its timestep and file, its
dimensions, its field data, its point-data arrays with their component counts and names,
the x, y and z of its points and the values of each ARRAY it holds (the components of a
point together). Any error of the reader ends the script with status 1.
"""
import sys
import xml.etree.ElementTree as ElementTree
from pathlib import Path

import vtk


class Errors:
    def __init__(self):
        self.messages = []

    def __call__(self, caller, event):
        self.messages.append(event)


def numbers(values):
    return " ".join(repr(float(v)) for v in values)


def main():
    collection = Path(sys.argv[1])
    wanted = sys.argv[2:]
    root = ElementTree.parse(collection).getroot()
    if root.get("type") != "Collection":
        sys.exit("not a collection: " + root.get("type", ""))
    datasets = root.find("Collection").findall("DataSet")
    print("collection", len(datasets))
    for entry in datasets:
        reader = vtk.vtkXMLStructuredGridReader()
        errors = Errors()
        reader.AddObserver("ErrorEvent", errors)
        reader.SetFileName(str(collection.parent / entry.get("file")))
        reader.Update()
        grid = reader.GetOutput()
        if errors.messages or grid.GetNumberOfPoints() == 0:
            sys.exit("cannot read " + entry.get("file"))
        print("dataset", entry.get("timestep"), entry.get("file"))
        print("dimensions", *grid.GetDimensions())
        fields = grid.GetFieldData()
        for k in range(fields.GetNumberOfArrays()):
            print("field", fields.GetArrayName(k), repr(fields.GetArray(k).GetValue(0)))
        data = grid.GetPointData()
        for k in range(data.GetNumberOfArrays()):
            a = data.GetArray(k)
            names = [a.GetComponentName(c) or "" for c in range(a.GetNumberOfComponents())]
            print("array", a.GetName(), a.GetNumberOfComponents(), a.GetNumberOfTuples(),
                  *(names if a.GetNumberOfComponents() > 1 else []))
        points = [grid.GetPoint(p) for p in range(grid.GetNumberOfPoints())]
        print("values x", numbers(p[0] for p in points))
        print("values y", numbers(p[1] for p in points))
        print("values z", numbers(p[2] for p in points))
        for name in wanted:
            a = data.GetArray(name)
            if a is not None:
                count = a.GetNumberOfTuples() * a.GetNumberOfComponents()
                print("values", name, numbers(a.GetValue(k) for k in range(count)))


if __name__ == "__main__":
    main()
