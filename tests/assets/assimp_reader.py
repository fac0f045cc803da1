"""Reads a 3D Studio file through Debian's assimp command-line tool: `assimp dump` with its
log on, the data structure validated, degenerate faces looked for and identical vertices
joined, then the XML dump parsed. Gives the log's warnings and errors, the materials and
each named object with its vertices, faces and texture coordinates."""

import os
import subprocess
import tempfile
import xml.etree.ElementTree as ET

import numpy as np

ASSIMP_STEPS = ["-l", "-vds", "-fd", "-jiv"]


class Material:
    def __init__(self, name, diffuse, ambient):
        self.name, self.diffuse, self.ambient = name, diffuse, ambient


class Mesh:
    """One of an object's meshes: assimp splits an object by material."""

    def __init__(self, material, positions, faces, texcoords):
        self.material, self.positions, self.faces = material, positions, faces
        self.texcoords = texcoords


class Object:
    def __init__(self, name, meshes):
        self.name, self.meshes = name, meshes

    def vertex_count(self):
        return sum(len(m.positions) for m in self.meshes)

    def face_count(self):
        return sum(len(m.faces) for m in self.meshes)

    def triangles(self):
        """Every face as three corner positions, (n, 3, 3)."""
        return np.concatenate([m.positions[m.faces] for m in self.meshes])


class Scene:
    def __init__(self, log, materials, objects):
        self.log, self.materials, self.objects = log, materials, objects

    def problems(self):
        """Lines of the import log that are warnings or errors."""
        return [line for line in self.log if line.startswith(("Warn", "Error"))]


def _floats(element):
    return np.array(element.text.split(), dtype=np.float64)


def _colour(props, key):
    for p in props:
        if p.get("key") == key:
            return tuple(int(round(v * 255)) for v in _floats(p))
    return None


def load(path):
    with tempfile.TemporaryDirectory() as tmp:
        dump = os.path.join(tmp, "dump.xml")
        run = subprocess.run(["assimp", "dump", path, dump] + ASSIMP_STEPS,
                             capture_output=True, text=True)
        if run.returncode != 0 or not os.path.exists(dump):
            raise RuntimeError(f"assimp could not read {path}: {run.stdout}{run.stderr}")
        root = ET.parse(dump).getroot()
    log = [line.strip() for line in (run.stdout + run.stderr).splitlines()
           if "T0:" in line]
    scene = root.find("Scene")
    materials = []
    for m in scene.find("MaterialList"):
        props = m.find("MatPropertyList")
        name = next(p.text.strip().strip('"') for p in props if p.get("key") == "?mat.name")
        materials.append(Material(name, _colour(props, "$clr.diffuse"),
                                  _colour(props, "$clr.ambient")))
    meshes = []
    for m in scene.find("MeshList"):
        positions = _floats(m.find("Positions")).reshape(-1, 3)
        faces = np.array([[int(i) for i in f.text.split()] for f in m.find("FaceList")])
        uv = m.find("TextureCoords")
        texcoords = _floats(uv).reshape(-1, 2) if uv is not None else None
        meshes.append(Mesh(materials[int(m.get("material_index"))], positions, faces, texcoords))
    objects = []
    for node in scene.find("Node").find("NodeList"):
        refs = node.find("MeshRefs")
        indices = [int(i) for i in refs.text.split()] if refs is not None else []
        objects.append(Object(node.get("name"), [meshes[i] for i in indices]))
    return Scene(log, materials, objects)
