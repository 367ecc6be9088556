/* The network module's bytes, carried in the program's own file. */
    .section .rodata
    .balign 64
    .globl zelmora_net_image_begin
    .hidden zelmora_net_image_begin
zelmora_net_image_begin:
    .incbin ZELMORA_NET_IMAGE
    .globl zelmora_net_image_end
    .hidden zelmora_net_image_end
zelmora_net_image_end:
    .section .note.GNU-stack,"",@progbits
