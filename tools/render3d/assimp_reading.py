"""What an independent reader, assimp, reads from a model: the expectation files (.expect) of
the test models. Every file starts with comment lines, then counts, then one line per face:

    face <x y z of corners 0, 1, 2> <colour> <texture coordinates> <normals>

colour is "white" (assimp's default material), "rgb r g b" or "rgba r g b a" (the face's
material) or "corners" and r g b a for each corner (vertex colours); texture coordinates are
"nouv" or "uv" and u v per corner; normals "nonormal" or "normal" and x y z per corner. A
MilkShape 3D file adds one line per joint in file order:

    joint <name> parent <name, or - for none> <assimp's global transform, row by row>
"""

import os
import subprocess
import tempfile
import xml.etree.ElementTree as ElementTree

ASSIMP = "assimp"
DEFAULT_3DS_MATERIAL = "%%%DEFAULT"
DEFAULT_MS3D_MATERIAL = "<MS3D_DefaultMat>"
MS3D_JOINT_ROOT = "<MS3DJointRoot>"
# The steps the V3D converter asks of assimp (tools/v3d): triangulate, apply the node
# transforms, join identical vertices, sort by primitive type.
CONVERTER_STEPS = ["-tri", "-ptv", "-jiv", "-sbpt"]


def read_scene(path, steps=()):
    with tempfile.TemporaryDirectory() as folder:
        dump = os.path.join(folder, "dump.xml")
        subprocess.run([ASSIMP, "dump", path, dump, *steps], check=True,
                       stdout=subprocess.DEVNULL)
        return ElementTree.parse(dump).getroot().find("Scene")


def numbers(element):
    return element.text.split() if element is not None and element.text else []


def material_properties(scene):
    return [{p.get("key"): p.text.strip() for p in material.iter("MatProperty")}
            for material in scene.find("MaterialList")]


def corner_values(values, corners, width):
    return [values[width * k + i] for k in corners for i in range(width)]


def face_lines(mesh, colour_of):
    """One line per triangle of the mesh; colour_of(corners) gives the colour words."""
    positions = numbers(mesh.find("Positions"))
    normals = numbers(mesh.find("Normals"))
    uvs = numbers(mesh.find("TextureCoords"))
    lines = []
    for face in mesh.find("FaceList"):
        corners = [int(k) for k in numbers(face)]
        if len(corners) != 3:
            continue
        line = ["face"] + corner_values(positions, corners, 3) + colour_of(corners)
        line += ["uv"] + corner_values(uvs, corners, 2) if uvs else ["nouv"]
        line += ["normal"] + corner_values(normals, corners, 3) if normals else ["nonormal"]
        lines.append(" ".join(line))
    return lines


def expectation_3ds(path):
    """What assimp reads from a 3DS file: one line per face, meshes in assimp's order."""
    scene = read_scene(path)
    materials = []
    for properties in material_properties(scene):
        name = properties["?mat.name"].strip('"')
        ambient = properties["$clr.ambient"].split()
        materials.append(["white"] if name == DEFAULT_3DS_MATERIAL else ["rgb"] + ambient)
    lines = []
    vertex_total = 0
    for mesh in scene.find("MeshList"):
        colour = materials[int(mesh.get("material_index"))]
        vertex_total += len(numbers(mesh.find("Positions"))) // 3
        lines += face_lines(mesh, lambda corners: colour)
    header = [f"# assimp's reading of {os.path.basename(path)}: faces, then one line per face",
              f"faces {len(lines)}", f"vertices {vertex_total}"]
    return "\n".join(header + lines) + "\n"


def matrix_product(a, b):
    return [sum(a[4 * r + k] * b[4 * k + c] for k in range(4)) for r in range(4) for c in range(4)]


def expectation_ms3d(path, joint_names, described):
    """What assimp reads from a MilkShape 3D file: faces (assimp makes a mesh of each group and
    gives every corner its own vertex, so the file's vertices are counted as distinct corner
    positions), the group count, and each joint's parent and global transform."""
    scene = read_scene(path)
    materials = []
    for properties in material_properties(scene):
        name = properties["?mat.name"].strip('"')
        ambient = properties["$clr.ambient"].split()
        materials.append(["white"] if name == DEFAULT_MS3D_MATERIAL else ["rgba"] + ambient)
    lines, corners_seen = [], set()
    for mesh in scene.find("MeshList"):
        colour = materials[int(mesh.get("material_index"))]
        positions = numbers(mesh.find("Positions"))
        corners_seen.update(tuple(positions[i:i + 3]) for i in range(0, len(positions), 3))
        lines += face_lines(mesh, lambda corners: colour)

    nodes = {}

    def walk(node, parent, parent_global):
        local = [float(v) for v in numbers(node.find("Matrix4"))]
        global_transform = matrix_product(parent_global, local)
        nodes[node.get("name")] = (parent, global_transform)
        for child in node.iter("NodeList"):
            for grandchild in child.findall("Node"):
                walk(grandchild, node.get("name"), global_transform)
            break

    identity = [1.0 if r == c else 0.0 for r in range(4) for c in range(4)]
    walk(scene.find("Node"), None, identity)
    joints = []
    for name in joint_names:
        parent, global_transform = nodes[name]
        parent = "-" if parent == MS3D_JOINT_ROOT else parent
        joints.append(" ".join(["joint", name, "parent", parent] +
                               [f"{v:.6f}" for v in global_transform]))
    header = [f"# assimp's reading of {described}:",
              "# faces, vertices (distinct corner positions), one line per face (group by",
              "# group) and one per joint in file order",
              f"faces {len(lines)}", f"vertices {len(corners_seen)}"]
    return "\n".join(header + lines + joints) + "\n"


def expectation_converted(path):
    """What assimp reads from a model with the V3D converter's steps: the triangles of every
    mesh, each corner's colour (the mesh's vertex colours, else its material's diffuse colour
    with the opacity as alpha), texture coordinates and normals."""
    scene = read_scene(path, CONVERTER_STEPS)
    materials = []
    for properties in material_properties(scene):
        diffuse = properties.get("$clr.diffuse", "1 1 1").split()[:3]
        materials.append(diffuse + [properties.get("$mat.opacity", "1")])
    lines = []
    vertex_total = 0
    for mesh in scene.find("MeshList"):
        if "triangles" not in mesh.get("types").split():
            continue
        vertex_total += len(numbers(mesh.find("Positions"))) // 3
        colours = numbers(mesh.find("Colors"))
        material = materials[int(mesh.get("material_index"))]
        if colours:
            lines += face_lines(mesh, lambda corners: ["corners"] +
                                corner_values(colours, corners, 4))
        else:
            lines += face_lines(mesh, lambda corners: ["corners"] + material * 3)
    header = [f"# assimp's reading of {os.path.basename(path)} with the converter's steps "
              f"({' '.join(CONVERTER_STEPS)}):",
              "# faces, vertices, then one line per face",
              f"faces {len(lines)}", f"vertices {vertex_total}"]
    return "\n".join(header + lines) + "\n"
