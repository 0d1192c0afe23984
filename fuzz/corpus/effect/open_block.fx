glsl vertex V(vec3 P : POSITION0) {
 void main() { /* never closed
