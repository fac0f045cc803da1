"""The MilkShape 3D test models, written with writer_ms3d.py: versions 3 and 4, groups with
and without materials, triangles listed out of order, joints with parents and keys, more
joints than the loader takes (128) and names that fill all 32 bytes."""

import math

import writer_ms3d as w
from testmesh import Lcg, Patch


def patch_mesh(patches):
    """Vertices, triangles and groups of separate patches: (patch, group name, material index,
    bone, triangle order) each; no vertex is shared between groups. A triangle order of None
    lists the group's triangles in order."""
    vertices, triangles, groups = [], [], []
    for index, (patch, name, material, bone, order) in enumerate(patches):
        first_vertex, first_triangle = len(vertices), len(triangles)
        vertices += [w.vertex(*p, bone=bone) for p in patch.positions]
        for face in patch.faces:
            normals = [patch.normals[k] for k in face]
            s = [patch.texcoords[k][0] for k in face]
            t = [1 - patch.texcoords[k][1] for k in face]
            triangles.append(w.triangle([first_vertex + k for k in face], normals, s, t, index))
        members = list(range(len(patch.faces))) if order is None else order(len(patch.faces))
        groups.append(w.group(name, [first_triangle + m for m in members], material))
    return vertices, triangles, groups


def shuffled(rng):
    def order(count):
        members = list(range(count))
        for i in range(count - 1, 0, -1):
            j = rng.next(i + 1)
            members[i], members[j] = members[j], members[i]
        return members
    return order


def own_groups():
    """Version 4: three patches in groups of two materials (one translucent) and none, more
    vertices and triangles than a block of the loader holds, one group listing its triangles
    out of order, and a small skeleton with keys to which the patches are bound."""
    rng = Lcg(61)
    vertices, triangles, groups = patch_mesh([
        (Patch(5, 4, (0.0, 0.0, 0.0)), "stone", 0, 0, None),
        (Patch(6, 3, (3.0, 0.0, 0.5)), "moss", 1, 2, shuffled(rng)),
        (Patch(4, 4, (0.0, 2.5, -0.5)), "bare", -1, 3, None),
    ])
    materials = [w.material("stone", (90 / 255, 90 / 255, 80 / 255, 1.0)),
                 w.material("moss", (30 / 255, 140 / 255, 40 / 255, 128 / 255))]
    joints = [
        w.joint("root", "", (0.0, 0.0, 0.0), (0.5, 0.25, 0.0),
                rotation_keys=[(0.0, 0.0, 0.0, 0.0), (1.0, 0.0, 0.0, 0.5)],
                translation_keys=[(0.0, 0.0, 0.0, 0.0), (0.5, 0.0, 0.25, 0.0)]),
        w.joint("spine", "root", (0.1, -0.2, 0.3), (1.0, 0.0, 0.5),
                rotation_keys=[(0.25, 0.2, 0.0, -0.1)]),
        w.joint("head", "spine", (0.0, math.pi / 4, 0.0), (0.0, 1.5, 0.0)),
        w.joint("tail", "root", (-0.3, 0.0, 0.2), (-1.0, -0.5, 0.0),
                translation_keys=[(2.0, 0.1, 0.2, 0.3)]),
    ]
    return vertices, triangles, groups, materials, joints, 4


def full_name(n):
    """A joint name of exactly 32 characters: no room for a terminating zero."""
    return f"joint{n:03d}_".ljust(32, "abcdefghijklmnopqrstuvwxyz"[n % 26])


def own_joints():
    """Version 3: 140 joints with names of 32 characters in a tree (each joint's parent is
    joint (n - 1) / 2, always earlier in the file), small rotations, keys on every fifth."""
    rng = Lcg(67)
    vertices, triangles, groups = patch_mesh([(Patch(3, 2, (0.0, 0.0, 0.0)), "body", 0, 1, None)])
    vertices = [w.vertex(x, y, z, bone=(i * 37) % 140) for i, (x, y, z, _) in enumerate(vertices)]
    materials = [w.material("skin", (1.0, 0.5, 0.0, 1.0))]
    joints = []
    for n in range(140):
        rotation = tuple(rng.coordinate(1) * 0.3 for _ in range(3))
        position = tuple(rng.coordinate(1) * 0.5 for _ in range(3))
        keys = [(0.1 * k, *rotation) for k in range(3)] if n % 5 == 0 else []
        joints.append(w.joint(full_name(n), "" if n == 0 else full_name((n - 1) // 2), rotation,
                              position, rotation_keys=keys, translation_keys=keys[:1]))
    return vertices, triangles, groups, materials, joints, 3


def own_no_joints():
    """Version 4 without joints: one group without a material listing its triangles out of
    order, and one of a material. (assimp refuses vertices that name bones in a file without
    joints; the loader's tests build such files themselves.)"""
    rng = Lcg(71)
    vertices, triangles, groups = patch_mesh([
        (Patch(8, 3, (0.0, 0.0, 0.0), step=0.25), "plain", -1, 255, shuffled(rng)),
        (Patch(2, 2, (0.0, -1.0, 0.0), step=0.4), "red", 0, 255, None),
    ])
    materials = [w.material("red", (1.0, 0.0, 0.0, 1.0))]
    return vertices, triangles, groups, materials, [], 4


# name, how it is made, the scale the tests load it with.
MODELS = [
    ("own_groups.ms3d", own_groups, 0),
    ("own_joints.ms3d", own_joints, 4),
    ("own_no_joints.ms3d", own_no_joints, 1),
]


def build(make):
    """The model's bytes, the bytes of its version-4 twin (assimp reads version 4 only) and its
    joint names in file order."""
    vertices, triangles, groups, materials, joints, version = make()
    model = w.file_ms3d(vertices, triangles, groups, materials, joints, version)
    twin = w.file_ms3d(vertices, triangles, groups, materials, joints, 4)
    return model, twin, [j[0] for j in joints]
